#pragma once
// The handful of Win32 scalar names the program's calls are written in.
#include <cstdint>

using BOOL = int;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using WORD = std::uint16_t;
using LPSTR = char*;
using LPCSTR = const char*;
using HWND = void*;
using HMODULE = void*;

constexpr BOOL TRUE_ = 1;
constexpr char PathDelim = '/';

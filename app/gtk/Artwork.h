#pragma once
// The artwork built into the program (resources/), decoded for the window.
#include <wx/bitmap.h>
#include <wx/image.h>

#include <cstddef>

extern const unsigned char SkinJpeg[];
extern const std::size_t SkinJpeg_size;
extern const unsigned char IndexGlyphBmp[];
extern const std::size_t IndexGlyphBmp_size;
extern const unsigned char BackGlyphBmp[];
extern const std::size_t BackGlyphBmp_size;
extern const unsigned char ForwardGlyphBmp[];
extern const std::size_t ForwardGlyphBmp_size;
extern const unsigned char WebGlyphBmp[];
extern const std::size_t WebGlyphBmp_size;
extern const unsigned char IconPng[];
extern const std::size_t IconPng_size;

// Decodes a baseline JPEG with libjpeg; an invalid image when the bytes are not one.
wxImage DecodeJpeg(const unsigned char* data, std::size_t size);
// A button glyph whose bottom-left pixel gives its transparent colour, masked out.
wxBitmap LoadGlyph(const unsigned char* data, std::size_t size);
wxBitmap LoadIcon();

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
extern const unsigned char SkinJpeg2x[];
extern const std::size_t SkinJpeg2x_size;
extern const unsigned char IndexGlyphBmp2x[];
extern const std::size_t IndexGlyphBmp2x_size;
extern const unsigned char BackGlyphBmp2x[];
extern const std::size_t BackGlyphBmp2x_size;
extern const unsigned char ForwardGlyphBmp2x[];
extern const std::size_t ForwardGlyphBmp2x_size;
extern const unsigned char WebGlyphBmp2x[];
extern const std::size_t WebGlyphBmp2x_size;
extern const unsigned char IconPng[];
extern const std::size_t IconPng_size;

// Decodes a baseline JPEG with libjpeg; an invalid image when the bytes are not one.
wxImage DecodeJpeg(const unsigned char* data, std::size_t size);
// A button glyph whose bottom-left pixel gives its transparent colour, masked out. An image drawn at
// twice the size is scaled 2: it takes the same place on the window, in twice as many pixels.
wxBitmap LoadGlyph(const unsigned char* data, std::size_t size, double scale = 1.0);

// The skin and the glyphs as drawn for a screen of the given scale factor: the artwork drawn at
// twice the size from a factor of 2 up, so nothing is enlarged pixel by pixel.
enum class TGlyph { Index, Back, Forward, Web };
wxBitmap SkinFor(double screenScale);
wxBitmap GlyphFor(TGlyph glyph, double screenScale);
wxBitmap LoadIcon();

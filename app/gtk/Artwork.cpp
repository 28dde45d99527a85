#include "app/gtk/Artwork.h"

#include <jpeglib.h>
#include <wx/mstream.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace {
struct TJpegError {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void JpegFail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<TJpegError*>(info->err)->jump, 1);
}

wxImage ImageFromBytes(const unsigned char* data, std::size_t size, wxBitmapType type) {
  wxMemoryInputStream stream(data, size);
  return wxImage(stream, type);
}
}  // namespace

wxImage DecodeJpeg(const unsigned char* data, std::size_t size) {
  jpeg_decompress_struct info{};
  TJpegError error{};
  info.err = jpeg_std_error(&error.manager);
  error.manager.error_exit = JpegFail;
  std::vector<unsigned char> pixels;  // the jump back lands in this frame: nothing is skipped
  if (setjmp(error.jump)) {
    jpeg_destroy_decompress(&info);
    return wxImage();
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  const std::size_t stride = std::size_t{info.output_width} * 3;
  pixels.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels.data() + stride * info.output_scanline;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  const int width = static_cast<int>(info.output_width), height = static_cast<int>(info.output_height);
  jpeg_destroy_decompress(&info);
  wxImage image(width, height, false);
  std::copy(pixels.begin(), pixels.end(), image.GetData());
  return image;
}

wxBitmap LoadGlyph(const unsigned char* data, std::size_t size, double scale) {
  wxImage image = ImageFromBytes(data, size, wxBITMAP_TYPE_BMP);
  if (!image.IsOk()) return wxBitmap();
  const int bottom = image.GetHeight() - 1;
  image.SetMaskColour(image.GetRed(0, bottom), image.GetGreen(0, bottom), image.GetBlue(0, bottom));
  return wxBitmap(image, wxBITMAP_SCREEN_DEPTH, scale);
}

namespace {
bool Doubled(double screenScale) {
  return screenScale >= 2;
}
}  // namespace

wxBitmap SkinFor(double screenScale) {
  if (Doubled(screenScale))
    return wxBitmap(DecodeJpeg(SkinJpeg2x, SkinJpeg2x_size), wxBITMAP_SCREEN_DEPTH, 2);
  return wxBitmap(DecodeJpeg(SkinJpeg, SkinJpeg_size));
}

wxBitmap GlyphFor(TGlyph glyph, double screenScale) {
  struct TDrawn {
    const unsigned char* data;
    std::size_t size;
  };
  const bool doubled = Doubled(screenScale);
  const auto [data, size] = [&]() -> TDrawn {
    switch (glyph) {
      case TGlyph::Index:
        return doubled ? TDrawn{IndexGlyphBmp2x, IndexGlyphBmp2x_size}
                       : TDrawn{IndexGlyphBmp, IndexGlyphBmp_size};
      case TGlyph::Back:
        return doubled ? TDrawn{BackGlyphBmp2x, BackGlyphBmp2x_size}
                       : TDrawn{BackGlyphBmp, BackGlyphBmp_size};
      case TGlyph::Forward:
        return doubled ? TDrawn{ForwardGlyphBmp2x, ForwardGlyphBmp2x_size}
                       : TDrawn{ForwardGlyphBmp, ForwardGlyphBmp_size};
      case TGlyph::Web:
        break;
    }
    return doubled ? TDrawn{WebGlyphBmp2x, WebGlyphBmp2x_size} : TDrawn{WebGlyphBmp, WebGlyphBmp_size};
  }();
  return LoadGlyph(data, size, doubled ? 2 : 1);
}

wxBitmap LoadIcon() {
  return wxBitmap(ImageFromBytes(IconPng, IconPng_size, wxBITMAP_TYPE_PNG));
}

// PNG and PPM output for the tools.

#include "tools/image_file.h"

#include <cstdio>

#ifdef TESS_HAVE_PNG
#include <png.h>
#endif

std::vector<unsigned char> readRgb(HDC dc, int width, int height) {
    std::vector<unsigned char> rgb(std::size_t(width) * std::size_t(height) * 3);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            rgb[i++] = GetRValue(c);
            rgb[i++] = GetGValue(c);
            rgb[i++] = GetBValue(c);
        }
    }
    return rgb;
}

bool isPpmName(const std::string& path) {
    return path.size() >= 4 && path.compare(path.size() - 4, 4, ".ppm") == 0;
}

bool canWriteImage(const std::string& path) {
#ifdef TESS_HAVE_PNG
    (void)path;
    return true;
#else
    return isPpmName(path);
#endif
}

namespace {

bool writePpm(FILE* f, const std::vector<unsigned char>& rgb, int width, int height) {
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    return std::fwrite(rgb.data(), 1, rgb.size(), f) == rgb.size();
}

#ifdef TESS_HAVE_PNG
bool writePng(FILE* f, const std::vector<unsigned char>& rgb, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    // libpng reports its errors by longjmp back here.
    if (png && info && !setjmp(png_jmpbuf(png))) {
        png_init_io(png, f);
        png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            png_write_row(
                png, const_cast<unsigned char*>(&rgb[std::size_t(y) * std::size_t(width) * 3]));
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return ok;
}
#endif

} // namespace

bool writeImage(const std::string& path, const std::vector<unsigned char>& rgb, int width,
                int height) {
    if (!canWriteImage(path)) return false;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = false;
#ifdef TESS_HAVE_PNG
    ok = isPpmName(path) ? writePpm(f, rgb, width, height) : writePng(f, rgb, width, height);
#else
    ok = writePpm(f, rgb, width, height);
#endif
    return (std::fclose(f) == 0) && ok;
}

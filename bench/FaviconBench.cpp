// What an icon costs once downloaded: decoding it (scaled down when large) and making its grey copy.
// A page load asks for one icon at most, and the strip greys each icon once; these run on the main
// thread, so they should stay well under a frame (16 ms).

#include "engine/FaviconImage.h"
#include "engine/FaviconStore.h"

#include <gdk-pixbuf/gdk-pixbuf.h>

#include <benchmark/benchmark.h>

#include <string>

namespace {

std::string encoded(int side, const char* format) {
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, side, side);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side * 4; ++x)
            pixels[y * stride + x] = static_cast<guchar>((x * 7 + y * 13) & 0xff);
    gchar* buffer = nullptr;
    gsize size = 0;
    gdk_pixbuf_save_to_buffer(pixbuf, &buffer, &size, format, nullptr, nullptr);
    g_object_unref(pixbuf);
    std::string bytes(buffer, size);
    g_free(buffer);
    return bytes;
}

void decode(benchmark::State& state, const char* format, const char* type) {
    std::string body = encoded(static_cast<int>(state.range(0)), format);
    for (auto _ : state) {
        auto texture = nimb::FaviconImage::decode(type, body);
        benchmark::DoNotOptimize(texture.get());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

void DecodePng(benchmark::State& state) {
    decode(state, "png", "image/png");
}
BENCHMARK(DecodePng)->Arg(16)->Arg(32)->Arg(180)->Arg(512)->Unit(benchmark::kMicrosecond);

void DecodeIco(benchmark::State& state) {
    decode(state, "ico", "image/x-icon");
}
BENCHMARK(DecodeIco)->Arg(16)->Arg(32)->Arg(128)->Unit(benchmark::kMicrosecond);

// A fresh image each time, since the copy is made once per image.
void Grey(benchmark::State& state) {
    auto icon = nimb::FaviconImage::decode("image/png", encoded(static_cast<int>(state.range(0)), "png"));
    int side = gdk_texture_get_width(icon.get());
    std::string pixels(static_cast<std::size_t>(side) * side * 4, '\0');
    gdk_texture_download(icon.get(), reinterpret_cast<guchar*>(pixels.data()), static_cast<gsize>(side) * 4);
    auto bytes = nimb::glib::adoptGRef(g_bytes_new(pixels.data(), pixels.size()));
    for (auto _ : state) {
        auto copy = nimb::glib::adoptGRef(gdk_memory_texture_new(side, side, GDK_MEMORY_DEFAULT, bytes.get(),
                                                                 static_cast<gsize>(side) * 4));
        benchmark::DoNotOptimize(nimb::FaviconStore::grey(copy.get()));
    }
}
BENCHMARK(Grey)->Arg(16)->Arg(32)->Arg(128)->Unit(benchmark::kMicrosecond);

// The same copy asked for again, as the strip does on every redraw.
void GreyAgain(benchmark::State& state) {
    auto icon = nimb::FaviconImage::decode("image/png", encoded(32, "png"));
    for (auto _ : state)
        benchmark::DoNotOptimize(nimb::FaviconStore::grey(icon.get()));
}
BENCHMARK(GreyAgain);

} // namespace

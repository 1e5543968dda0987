// How long the page's picture of the longest cord (32767 nodes, pulled)
// takes natively: rt::rasterPicture into RGBA pixels, as run.raster() does
// in the browser's module; bench/raster_timing.mjs times the module in
// node on the same state. Both print a hash of the pixels, which must agree.
//   springlab_raster_timing PICTURES

#include "runtime/canvas/raster.h"
#include "sims/headless.h"
#include "sims/registry.h"

#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const int pictures = argc > 1 ? std::atoi(argv[1]) : 200;
    sims::HeadlessRun run(*sims::findExperiment("rubber-cord"));
    std::vector<std::string> texts = sims::defaultTexts(run.definition());
    texts.at(static_cast<std::size_t>(sims::findParameter(run.definition(), "nodes"))) = "32767";
    run.init(texts);
    for (int tick = 1; tick <= 20; ++tick) {
        run.step();
        if (tick == 5)
            run.press(6000, 300);
    }
    std::vector<std::uint32_t> pixels;
    for (const int zoom : {1, 2}) {
        const double scale = zoom / 15.0;
        const int width = static_cast<int>(std::lround(run.definition().clientWidth * scale));
        const int height = static_cast<int>(std::lround(run.definition().clientHeight * scale));
        pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
        const rt::PixelBuffer target{pixels.data(), width, height, width};
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < pictures; ++i)
            rt::rasterPicture(target, run.canvas().displayList(), run.canvas().BackColor, scale,
                              rt::PixelLayout::Rgba);
        const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
        std::uint32_t hash = 0x811c9dc5;
        for (const std::uint32_t pixel : pixels)
            for (int byte = 0; byte < 4; ++byte)
                hash = (hash ^ ((pixel >> (8 * byte)) & 0xFF)) * 0x01000193u;
        std::printf("raster, 32767-node cord at %d/15 (%dx%d): %.0f us per picture over %d pictures (pixels %08x)\n",
                    zoom, width, height, spent.count() / pictures, pictures, hash);
    }
    return 0;
}

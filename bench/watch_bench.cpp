// Timings of the watch's hot paths on this machine's GL driver. Needs an X
// display (run under xvfb-run) and the run directory's shipped watches. The
// config parser's trace lines go to standard output too: bench/run takes the
// figures from --benchmark_out instead.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "config/config_text.h"
#include "config/settings.h"
#include "gl/context_bootstrap.h"
#include "gl/fixed_gl_state.h"
#include "gl/render_target.h"
#include "notifications/toast_queue.h"
#include "platform/file_io.h"
#include "toast/toast_painter.h"
#include "watch/text_element.h"
#include "watch/watch_catalogue.h"
#include "watch/watch_loader.h"
#include "watch/watch_renderer.h"

namespace {

const std::string watchesFolder = std::string(HORLOX_RUN_DIR) + "/watches/";

FT_Library fontLibrary() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        FT_Init_FreeType(&made);
        return made;
    }();
    return library;
}

// The program's own context and a watch target prepared as the main loop
// prepares it before each redraw.
void prepareWatchTarget() {
    static bool ready = [] {
        bootstrapGlContext(false);
        const RenderTarget target = createRenderTarget(256, 256);
        setFixedGlState();
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        glViewport(0, 0, 256, 256);
        return true;
    }();
    (void)ready;
}

std::unique_ptr<Watch> loadShippedWatch(const std::string& package) {
    auto watch = std::make_unique<Watch>();
    watch->fontLibrary = fontLibrary();
    loadWatch(*watch, watchesFolder + package);
    return watch;
}

std::tm tenPastTen() {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 11;
    time.tm_mday = 6;
    time.tm_wday = 0;
    time.tm_hour = 10;
    time.tm_min = 8;
    time.tm_sec = 37;
    return time;
}

void parseTypicalConfig(benchmark::State& state) {
    const auto bytes = platform::readFileBytes(watchesFolder + "Classic/config");
    for (auto _ : state) {
        ConfigFile config = parseConfig(bytes->data(), bytes->data() + bytes->size());
        benchmark::DoNotOptimize(config);
    }
}
BENCHMARK(parseTypicalConfig);

void loadPackage(benchmark::State& state, const std::string& package) {
    prepareWatchTarget();
    for (auto _ : state) {
        std::unique_ptr<Watch> watch = loadShippedWatch(package);
        glFinish();
        benchmark::DoNotOptimize(watch);
    }
}
BENCHMARK_CAPTURE(loadPackage, Classic, std::string("Classic"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadPackage, Digital, std::string("Digital"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(loadPackage, Pilot_7z, std::string("Pilot.7z"))->Unit(benchmark::kMillisecond);

// Previous or Next in the menu: the catalogue gives back the watch shown so
// far and loads the chosen one.
void stepToWatch(benchmark::State& state, const std::string& name) {
    prepareWatchTarget();
    Settings settings;
    WatchCatalogue catalogue(settings, fontLibrary(), watchesFolder);
    const std::string before = name == "Classic" ? "Digital" : "Classic";
    for (auto _ : state) {
        state.PauseTiming();
        catalogue.load(before);
        glFinish();
        state.ResumeTiming();
        benchmark::DoNotOptimize(catalogue.load(name));
        glFinish();
    }
}
BENCHMARK_CAPTURE(stepToWatch, Classic, std::string("Classic"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepToWatch, Digital, std::string("Digital"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(stepToWatch, Pilot, std::string("Pilot"))->Unit(benchmark::kMillisecond);

void redrawWatch(benchmark::State& state, const std::string& package) {
    prepareWatchTarget();
    const std::unique_ptr<Watch> watch = loadShippedWatch(package);
    const Settings settings;
    // A second later each time, as the program redraws.
    std::tm time = tenPastTen();
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawWatch(*watch, WatchReadings{time, {}, {}, {}}, settings);
        glFinish();
        time.tm_sec = (time.tm_sec + 1) % 60;
    }
}
BENCHMARK_CAPTURE(redrawWatch, Classic, std::string("Classic"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(redrawWatch, Digital, std::string("Digital"))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(redrawWatch, Pilot_7z, std::string("Pilot.7z"))->Unit(benchmark::kMillisecond);

void drawTwoLineDate(benchmark::State& state) {
    prepareWatchTarget();
    const std::unique_ptr<Watch> watch = loadShippedWatch("Digital");
    WatchElement& date = watch->elements.front();
    date.text = "%A %d\\n%B %Y";
    glUseProgram(watch->shader.program);
    glBindVertexArray(watch->vertexArray);
    const std::tm time = tenPastTen();
    for (auto _ : state) {
        drawText(*watch, date, WatchReadings{time, {}, {}, {}}, 0.5f);
        glFinish();
    }
}
BENCHMARK(drawTwoLineDate)->Unit(benchmark::kMillisecond);

// A new toast each time, with the sender's name, a title and a content, in
// the program's font and what it falls back to; the fonts it needs are
// opened by a first toast, as the first such toast opens them in the program.
void drawToast(benchmark::State& state, const std::string& title, const std::string& content) {
    prepareWatchTarget();
    const RenderTarget target = createRenderTarget(toastWidth, toastHeight);
    const FontChainPointer fonts =
        createFontChain(fontLibrary(), *platform::readFileBytes(std::string(HORLOX_RUN_DIR) + "/Roboto-Medium.ttf"),
                        std::string(HORLOX_RUN_DIR) + "/fonts");
    ToastPainter painter(fonts.get());
    Toast toast;
    toast.notification.source = NotificationSource::XsOverlay;
    toast.notification.sourceName = "VRCX";
    auto paintNext = [&] {
        const std::string number = " " + std::to_string(++toast.count);
        toast.notification.title = title + number;
        toast.notification.content = content + number;
        painter.paint(toast, target);
        glFinish();
    };
    paintNext();
    for (auto _ : state) paintNext();
}
BENCHMARK_CAPTURE(drawToast, Latin, std::string("Friend Online"),
                  std::string("Alice is online in The Great Pug, a public world. Join her?"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(drawToast, CjkArabicEmoji, std::string("フレンドがオンラインになりました 🎉"),
                  std::string("친구 你好 صديقك متصل الآن 👍🏽 東京のワールドにいます"))
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

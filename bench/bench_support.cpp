#include "bench/bench_support.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <tuple>

#include "fx/effect.h"
#include "fx/effect_registry.h"
#include "fx/host.h"
#include "fx/render_info.h"

namespace bench {
namespace {

// The sequence every picture draws from.
struct Sequence {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state;
    }
};

// The samples of pixel (x, y), drawing from the sequence in sample order.
void drawPixel(const PictureRecipe& recipe, int32_t x, int32_t y, uint32_t full, Sequence& random, uint32_t* values) {
    switch (recipe.pattern) {
    case Pattern::Noise:
        for (uint32_t c = 0; c < recipe.channels; ++c) values[c] = (random.next() >> 8) % (full + 1);
        break;
    case Pattern::BroadAreas: {
        const uint32_t broad = ((x / 500 + y / 400) % 3) * full / 2;
        for (uint32_t c = 0; c < recipe.channels; ++c)
            values[c] = std::min(full, broad / 2 + (random.next() >> 8) % (full / 2 + 1));
        break;
    }
    case Pattern::Gradients: {
        const uint32_t grain = (random.next() >> 24) & 15;
        values[0] = (uint32_t(x) * full / kWidth + grain * full / 255) % (full + 1);
        values[1] = (uint32_t(y) * full / kHeight + grain * full / 255) % (full + 1);
        values[2] = uint32_t(x + y) * full / (kWidth + kHeight);
        values[3] = full;
        break;
    }
    case Pattern::Photo:
        for (uint32_t c = 0; c < recipe.channels; ++c) {
            const uint32_t noise = (random.next() >> 8) % (full + 1);
            const uint32_t ramp = (uint32_t(x) * (3 + c) + uint32_t(y) * (5 - c)) % 60000;
            const uint32_t smooth = ramp < 30000 ? ramp : 60000 - ramp;
            values[c] = 1000 + smooth + (noise & 255);
        }
        break;
    }
    if (recipe.opaque && recipe.channels == 4) values[3] = full;
}

template <class Sample>
void fillPicture(Image& image, const PictureRecipe& recipe) {
    const uint32_t full = sizeof(Sample) == 2 ? 32768 : 255;
    Sequence random{recipe.seed};
    uint32_t values[4] = {};
    for (int32_t y = 0; y < kHeight; ++y) {
        Sample* row = image.row<Sample>(y);
        for (int32_t x = 0; x < kWidth; ++x) {
            drawPixel(recipe, x, y, full, random, values);
            for (uint32_t c = 0; c < recipe.channels; ++c) row[size_t(x) * recipe.channels + c] = Sample(values[c]);
        }
    }
}

}  // namespace

Parameter* parameterNamed(Effect& effect, const char* key) {
    for (uint32_t i = 0; i < effect.parameterCount; ++i) {
        Parameter& record = effect.parameter(i);
        if (record.name && std::strcmp(record.name, key) == 0) return &record;
    }
    return nullptr;
}

bool setValue(Effect& effect, const char* key, double value) {
    Parameter* record = parameterNamed(effect, key);
    if (!record) return false;
    if (record->kind == ParameterKind::List)
        record->listIndex = uint32_t(value);
    else if (record->kind == ParameterKind::Boolean)
        record->boolean = value != 0.0;
    else
        record->number = value;
    return true;
}

namespace {

bool setFile(Effect& effect, const char* key, const char* name) {
    Parameter* record = parameterNamed(effect, key);
    if (!record || record->kind != ParameterKind::ImageFile) return false;
    record->path = name;
    return true;
}

// The resource folders beside the benchmark program, as the plug-in's are beside its file.
class ProgramFolderHost : public fx::Host {
public:
    bool resourcePath(const char*, const char* folder, const char* fileName, char* out) override {
        std::error_code error;
        const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
        const std::string path = (program.parent_path() / folder / (fileName ? fileName : "")).string();
        if (error || path.size() >= kPathSize) {
            out[0] = 0;
            return false;
        }
        std::memcpy(out, path.c_str(), path.size() + 1);
        return true;
    }
};

const ProgramFolderHost programFolderHost;

// The effect, made and given its settings and files; null (the benchmark skipped) when one
// names no parameter.
std::unique_ptr<Effect, EffectDeleter> makeEffect(benchmark::State& state, const char* key,
                                                  const RenderOptions& options) {
    std::unique_ptr<Effect, EffectDeleter> effect(EffectRegistry::instance().create(key));
    if (!effect) {
        state.SkipWithError("effect not registered");
        return effect;
    }
    for (const auto& [name, value] : options.settings)
        if (!setValue(*effect, name, value)) {
            state.SkipWithError((std::string("no parameter ") + name).c_str());
            return nullptr;
        }
    for (const auto& [name, file] : options.files)
        if (!setFile(*effect, name, file)) {
            state.SkipWithError((std::string("no file parameter ") + name).c_str());
            return nullptr;
        }
    return effect;
}

double peakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

}  // namespace

ImagePtr makePicture(const PictureRecipe& recipe) {
    if (recipe.channels < 1 || recipe.channels > 4 || (recipe.bytesPerChannel != 1 && recipe.bytesPerChannel != 2))
        throw std::invalid_argument("a test picture has 1 to 4 channels of 1 or 2 bytes");
    if (recipe.pattern == Pattern::Gradients && recipe.channels != 4)
        throw std::invalid_argument("the gradient picture has four channels");
    // The ramps reach 31255: more than an 8-bit sample holds.
    if (recipe.pattern == Pattern::Photo && recipe.bytesPerChannel != 2)
        throw std::invalid_argument("the photograph-like picture is 16-bit");
    ImagePtr image = ImagePtr::make({kWidth, kHeight}, recipe.channels, recipe.bytesPerChannel);
    if (recipe.bytesPerChannel == 2)
        fillPicture<uint16_t>(*image, recipe);
    else
        fillPicture<uint8_t>(*image, recipe);
    return image;
}

const ImagePtr& picture(const PictureRecipe& recipe) {
    using Key = std::tuple<Pattern, uint32_t, uint32_t, uint32_t, bool>;
    static std::map<Key, ImagePtr> pictures;
    ImagePtr& image = pictures[Key{recipe.pattern, recipe.channels, recipe.bytesPerChannel, recipe.seed, recipe.opaque}];
    if (!image) image = makePicture(recipe);
    return image;
}

void copyBytes(benchmark::State& state, const Image& image) {
    std::vector<uint8_t> target(image.byteCount(), 1);
    for (auto _ : state) {
        std::memcpy(target.data(), image.data, image.byteCount());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(image.byteCount()));
}

void copyPicture(benchmark::State& state, const PictureRecipe& recipe) { copyBytes(state, *picture(recipe)); }

void renderEffect(benchmark::State& state, const char* key, const PictureRecipe& recipe, const RenderOptions& options) {
    const ImagePtr& source = picture(recipe);
    std::unique_ptr<Effect, EffectDeleter> effect = makeEffect(state, key, options);
    if (!effect) return;
    ImagePtr output = options.output == Output::CopyOfSource
                          ? source->clone()
                          : ImagePtr::make({source->width, source->height}, source->channels, source->bytesPerChannel);

    fx::Plugin::RenderInfo info;
    info.outputImage = output.get();
    info.renderRect = {0, 0, source->height, source->width};
    info.outputRect = info.renderRect;
    info.is16 = source->is16();
    info.imageWidth = source->width;
    info.imageHeight = source->height;
    info.tileCount = 1;
    info.tileIndex = 0;
    effect->parameter(0).image = source;
    if (options.prepare == Prepare::Once || options.prepare == Prepare::SecondRun)
        effect->effectClass->beginRender(effect.get(), &info);
    if (options.prepare == Prepare::SecondRun) effect->effectClass->render(effect.get(), &info);
    for (auto _ : state) {
        if (options.prepare == Prepare::FirstRun) {
            effect->parameter(0).image.reset();
            effect = makeEffect(state, key, options);
            effect->parameter(0).image = source;
        }
        if (options.prepare == Prepare::EveryIteration || options.prepare == Prepare::FirstRun)
            effect->effectClass->beginRender(effect.get(), &info);
        effect->effectClass->render(effect.get(), &info);
        benchmark::DoNotOptimize(output->data);
        benchmark::ClobberMemory();
    }
    effect->parameter(0).image.reset();
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(source->byteCount()));
    state.counters["peakMiB"] = peakResidentMiB();
}

void registerEffectCases(const char* group, const char* key, const std::vector<EffectCase>& cases) {
    for (uint32_t bytes : {2u, 1u}) {
        const PictureRecipe recipe{.pattern = Pattern::BroadAreas, .bytesPerChannel = bytes, .seed = 12345};
        const std::string prefix = std::string(group) + "/RGBA" + (bytes == 2 ? "16" : "8") + "/";
        benchmark::RegisterBenchmark((prefix + "memcpy").c_str(), copyPicture, recipe)->Unit(benchmark::kMillisecond);
        for (const EffectCase& c : cases)
            benchmark::RegisterBenchmark((prefix + c.name).c_str(), renderEffect, key, recipe,
                                         RenderOptions{.settings = c.settings, .files = c.files, .prepare = c.prepare})
                ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace bench

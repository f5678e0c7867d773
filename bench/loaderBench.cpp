// Speed of the asset readers against references measured in the same run: the 3DS reader against
// lib3ds and against plain reading of the file's bytes, the normals per triangle, and BMP
// decoding against stb_image. Prints the medians' ratios at the end.
#include <benchmark/benchmark.h>
#include <stb_image.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "scene/fileBytes.h"
#include "scene/imageDecode.h"
#include "scene/load3ds.h"
#include "scene/vertexNormals.h"
#include "tests/loaderTestFiles.h"

// ---- helpers ----
static void writeLargeMesh(const std::string& path);
static Bytes largeBitmap();

const int LARGE_COUNT = 65535; // vertices, faces and texels: the most a 3DS list can hold
const int GRID_WIDTH = 256;
const int BITMAP_SIDE = 1024;

static std::string meshPath;
static size_t meshBytes = 0;
static Bytes bitmap;

static void BM_ReadFileBytes(benchmark::State& state) {
    for (auto _ : state) {
        unsigned char* data = nullptr;
        size_t size = 0;
        readFileBytes(meshPath.c_str(), &data, &size);
        benchmark::DoNotOptimize(data);
        free(data);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)meshBytes);
}

static void BM_Load3dsFile(benchmark::State& state) {
    for (auto _ : state) {
        load3dsFile(&sceneObjects[0], meshPath.c_str());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)meshBytes);
}

static void BM_Lib3dsFileLoad(benchmark::State& state) {
    for (auto _ : state) {
        Lib3dsFile* file = lib3ds_file_load(meshPath.c_str());
        benchmark::DoNotOptimize(file);
        lib3ds_file_free(file);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)meshBytes);
}

static void BM_ComputeVertexNormals(benchmark::State& state) {
    load3dsFile(&sceneObjects[0], meshPath.c_str());
    for (auto _ : state) {
        computeVertexNormals(&sceneObjects[0]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed((int64_t)state.iterations() * sceneObjects[0].polygonCount);
}

static void BM_DecodeBitmap(benchmark::State& state) {
    for (auto _ : state) {
        DecodedImage image;
        const char* reason = nullptr;
        decodeBitmap(bitmap.data(), bitmap.size(), 0, &image, &reason);
        benchmark::DoNotOptimize(image.pixels);
        freeDecodedImage(&image);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bitmap.size());
}

// Same output as ours: 4 bytes a pixel.
static void BM_StbImageDecodeBitmap(benchmark::State& state) {
    for (auto _ : state) {
        int width = 0, height = 0, channels = 0;
        unsigned char* pixels =
            stbi_load_from_memory(bitmap.data(), (int)bitmap.size(), &width, &height, &channels, 4);
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    state.SetBytesProcessed((int64_t)state.iterations() * (int64_t)bitmap.size());
}

BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load3dsFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Lib3dsFileLoad)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeVertexNormals)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeBitmap)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StbImageDecodeBitmap)->Unit(benchmark::kMicrosecond);

// Keeps the median rate of every benchmark so the ratios can be printed after the table.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> medianRate;
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // The median of the repetitions, or the one run where there are none.
            bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            if (run.aggregate_name != "median" && !single)
                continue;
            for (const char* key : {"bytes_per_second", "items_per_second"})
                if (run.counters.count(key))
                    medianRate[run.run_name.function_name] = run.counters.at(key);
        }
    }
};

int main(int argc, char** argv) {
    std::string dir = makeTempDir();
    meshPath = dir + "/large.3ds";
    writeLargeMesh(meshPath);
    bitmap = largeBitmap();

    // Nine repetitions, medians only, unless the command line says otherwise.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=9";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    bool repetitionsGiven = false;
    for (int i = 1; i < argc; i++)
        repetitionsGiven |= strncmp(argv[i], "--benchmark_repetitions", 23) == 0;
    if (!repetitionsGiven) {
        args.push_back(repetitions);
        args.push_back(aggregatesOnly);
    }
    int count = (int)args.size();
    benchmark::Initialize(&count, args.data());
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::map<std::string, double>& rate = reporter.medianRate;
    const double MB = 1e6;
    printf("\nMedians: 3DS file %.2f MB (%d vertices, faces, texels)\n", meshBytes / MB,
           LARGE_COUNT);
    printf("  read bytes only %9.1f MB/s\n", rate["BM_ReadFileBytes"] / MB);
    printf("  load3dsFile     %9.1f MB/s  %.1fx lib3ds, %.2fx the plain read's time\n",
           rate["BM_Load3dsFile"] / MB, rate["BM_Load3dsFile"] / rate["BM_Lib3dsFileLoad"],
           rate["BM_ReadFileBytes"] / rate["BM_Load3dsFile"]);
    printf("  lib3ds          %9.1f MB/s\n", rate["BM_Lib3dsFileLoad"] / MB);
    printf("  normals         %9.1f M triangles/s\n", rate["BM_ComputeVertexNormals"] / 1e6);
    printf("  decodeBitmap    %9.1f MB/s  %.2fx stb_image (%d x %d)\n",
           rate["BM_DecodeBitmap"] / MB, rate["BM_DecodeBitmap"] / rate["BM_StbImageDecodeBitmap"],
           BITMAP_SIDE, BITMAP_SIDE);
    printf("  stb_image       %9.1f MB/s\n", rate["BM_StbImageDecodeBitmap"] / MB);
    printf("Resident memory with the large mesh in the table: %.1f MB\n",
           residentKilobytes() / 1024.0);
    removeTempDir(dir);
    return 0;
}

// A 256-wide height-field grid, cut at the largest counts a 3DS list can hold.
static void writeLargeMesh(const std::string& path) {
    std::vector<float> xyz, uv;
    std::vector<unsigned> abc;
    for (int i = 0; i < LARGE_COUNT; i++) {
        float x = (float)(i % GRID_WIDTH), y = (float)(i / GRID_WIDTH);
        xyz.insert(xyz.end(), {x, y, (float)((i * 7919) % 97) * 0.01f});
        uv.insert(uv.end(), {x / GRID_WIDTH, y / GRID_WIDTH});
    }
    for (unsigned i = 0; abc.size() < (size_t)LARGE_COUNT * 3; i++) {
        if (i % GRID_WIDTH == GRID_WIDTH - 1)
            continue;
        abc.insert(abc.end(), {i, i + 1, i + GRID_WIDTH + 1});
        if (abc.size() < (size_t)LARGE_COUNT * 3)
            abc.insert(abc.end(), {i, i + GRID_WIDTH + 1, i + GRID_WIDTH});
    }
    writeLib3dsMesh(path, "large", xyz, abc, uv);
    FILE* file = fopen(path.c_str(), "rb");
    fseek(file, 0, SEEK_END);
    meshBytes = (size_t)ftell(file);
    fclose(file);
}

static Bytes largeBitmap() {
    Bytes rows((size_t)BITMAP_SIDE * BITMAP_SIDE * 3);
    for (size_t i = 0; i < rows.size(); i++)
        rows[i] = (unsigned char)((i * 2654435761u) >> 13);
    return bitmapFile(BITMAP_SIDE, BITMAP_SIDE, rows);
}

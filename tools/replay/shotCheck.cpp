// shotCheck SHOTS REFERENCES: holds each reference REFERENCES/NNs.png against the shot
// SHOTS/NNs.ppm (or .png) taken elsewhere, the page's replay for one, by the replay's own
// comparison and tolerances. One line per shot, a last line with the count; status 1 when a shot
// is missing or does not match, 2 on bad arguments.
#include <cstdio>
#include <filesystem>
#include <string>

#include "shotCompare.h"

#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>

// ---- helpers ----
static bool checkShot(const std::string& shotBase, const std::string& referencePath,
                      const std::string& name);

static bool checkShot(const std::string& shotBase, const std::string& referencePath,
                      const std::string& name) {
    int w = 0, h = 0, rw = 0, rh = 0, channels = 0;
    unsigned char* shot = stbi_load((shotBase + ".ppm").c_str(), &w, &h, &channels, 3);
    if (!shot)
        shot = stbi_load((shotBase + ".png").c_str(), &w, &h, &channels, 3);
    unsigned char* reference = stbi_load(referencePath.c_str(), &rw, &rh, &channels, 3);
    bool matches = false;
    if (!shot || !reference) {
        printf("%s: no %s\n", name.c_str(), shot ? "reference" : "shot");
    } else if (w != rw || h != rh) {
        printf("%s: shot %d x %d, reference %d x %d  MISMATCH\n", name.c_str(), w, h, rw, rh);
    } else {
        ShotDifference d = compareShots(shot, reference, w, h);
        matches = d.matches();
        printf("%s: mean difference %.3f, %.4f %% of pixels off, %d together%s\n", name.c_str(),
               d.meanDifference, 100.0 * d.shareOff, d.largestCluster, matches ? "" : "  MISMATCH");
    }
    stbi_image_free(shot);
    stbi_image_free(reference);
    return matches;
}

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    if (argc != 3 || !fs::is_directory(argv[1]) || !fs::is_directory(argv[2])) {
        fprintf(stderr, "usage: shotCheck SHOTS_DIR REFERENCE_DIR (both existing folders)\n");
        return 2;
    }
    int checked = 0, failed = 0;
    for (int second = 0; second < 100; second++) {
        char name[16];
        snprintf(name, sizeof name, "%02ds", second);
        std::string reference = std::string(argv[2]) + "/" + name + ".png";
        if (!fs::exists(reference))
            continue;
        checked++;
        if (!checkShot(std::string(argv[1]) + "/" + name, reference, name))
            failed++;
    }
    printf("shotCheck: %d of %d shots match\n", checked - failed, checked);
    return failed || checked == 0 ? 1 : 0;
}

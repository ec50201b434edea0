// Builds the game's run-time data (pictures, sounds, music, level sets) from the
// readable sources under assets/. Usage:
//   vantorix_assetbuilder ASSETS_DIR BIN_DIR CONTACT_SHEET.png
#include "Catalog.h"
#include "ContactSheet.h"
#include "LevelSets.h"
#include "Music.h"
#include "PictureWriter.h"
#include "PixelArt.h"
#include "Scene.h"
#include "SoundEffects.h"
#include "SourceText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

static std::vector<std::string> sourcesIn(const fs::path& folder, const std::string& extension) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ASSETS_DIR BIN_DIR CONTACT_SHEET.png\n", argv[0]);
        return 2;
    }
    const fs::path assets = argv[1], bin = argv[2];
    const auto started = std::chrono::steady_clock::now();
    try {
        const fs::path gfx = assets / "gfx";
        const std::string palette = (gfx / "palette.txt").string();
        const std::string fonts = (gfx / "fonts").string();
        for (const char* sub : {"gfx/hi_color", "sfx", "Original_levels", "custom_levels"})
            fs::create_directories(bin / sub);

        Catalog catalog;
        for (const std::string& source : sourcesIn(gfx, ".pix"))
            readPixelArt(source, palette, fonts, catalog);
        readScenes((gfx / "scenes.txt").string(), palette, fonts, catalog);
        writePictures(catalog, (bin / "gfx/hi_color").string());
        writeContactSheet(catalog, fonts, argv[3]);
        const int sounds =
            writeSoundEffects((assets / "sfx/sounds.txt").string(), (bin / "sfx").string());

        const XmModule music = composeModule((assets / "music/bg.score").string());
        const std::string xm = encodeXm(music);
        std::ofstream(bin / "sfx/bg.xm", std::ios::binary | std::ios::trunc)
            .write(xm.data(), static_cast<std::streamsize>(xm.size()));
        if (!fs::exists(bin / "sfx/bg.xm") || fs::file_size(bin / "sfx/bg.xm") != xm.size())
            throw AssetError("cannot write sfx/bg.xm");

        const int levels = writeLevelSets((assets / "levels").string(), bin.string());

        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - started)
                            .count();
        std::printf("assets: %zu pictures, %d sounds, music of %.1f s, %d levels in %lld ms\n",
                    catalog.all().size(), sounds, moduleSeconds(music), levels,
                    static_cast<long long>(ms));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "asset builder: %s\n", e.what());
        return 1;
    }
    return 0;
}

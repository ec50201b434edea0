// LIBS: vantorix_platform_desktop
#include "Require.h"
#include "Surface.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

// The picture plug-ins (GIF among them) need the application object.
void application() {
    static int argc = 1;
    static char name[] = "picture_fuzz";
    static char* argv[] = {name, nullptr};
    static const bool made = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
        return true;
    }();
    (void)made;
}

} // namespace

// Any bytes as one of the programs' picture files, which only the BMP and GIF decoders read:
// a picture or none, never a crash; a picture comes only from bytes signed as one of the two,
// and the surface takes it whole and draws on it.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    application();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const QImage picture = decodePicture(bytes);
    if (picture.isNull()) {
        return 0;
    }
    require(bytes.substr(0, 2) == "BM" || bytes.substr(0, 6) == "GIF87a" ||
            bytes.substr(0, 6) == "GIF89a");
    require(picture.width() > 0 && picture.height() > 0);
    Surface surface;
    surface.setPicture(picture);
    require(surface.Width() == picture.width() && surface.Height() == picture.height());
    surface.Cls();
    surface.PSet(0, 0, 0xFFFFFF);
    require(surface.Point(0, 0) == 0xFFFFFF);
    return 0;
}

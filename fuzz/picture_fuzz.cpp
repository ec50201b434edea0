// LIBS: vantorix_platform_desktop
#include "Surface.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void require(bool ok) {
    if (!ok) {
        std::abort();
    }
}

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

// Any bytes as a picture file (BMP, GIF and whatever the reader finds in them): a picture or
// none, never a crash; a picture the surface takes is shown whole and drawn on.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    application();
    const QImage picture =
        decodePicture(std::string_view(reinterpret_cast<const char*>(data), size));
    if (picture.isNull()) {
        return 0;
    }
    require(picture.width() > 0 && picture.height() > 0);
    Surface surface;
    surface.setPicture(picture);
    require(surface.Width() == picture.width() && surface.Height() == picture.height());
    surface.Cls();
    surface.PSet(0, 0, 0xFFFFFF);
    require(surface.Point(0, 0) == 0xFFFFFF);
    return 0;
}

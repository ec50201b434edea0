# The floors of the folders, for the include check and the link check.
#
# Each folder with the folders its files may include from, besides its own.
# The core floor needs Qt Core, Qt Network and libcurl only; the folders above it show and
# sound.
set(uses_platform/core "")
set(uses_foundation/core platform/core)
set(uses_levelfile platform/core foundation/core)
set(uses_game/levels_hiscores platform/core foundation/core levelfile)
set(uses_platform/desktop platform/core)
set(uses_foundation/desktop platform/core platform/desktop foundation/core)
set(platform_and_foundation platform/core platform/desktop foundation/core foundation/desktop)
set(uses_game/devices ${platform_and_foundation} levelfile)
set(uses_game/engine ${platform_and_foundation} levelfile game/levels_hiscores game/devices)
set(uses_game/hiscore_ui ${uses_game/engine} game/engine)
set(uses_game/shell ${uses_game/hiscore_ui} game/hiscore_ui)
set(uses_game/launcher ${uses_game/shell} game/shell)
set(uses_editor ${platform_and_foundation} levelfile)
set(uses_displaysetup ${platform_and_foundation} levelfile)
set(uses_tools ${platform_and_foundation} levelfile)

# The core floor's libraries link nothing beyond it but these.
set(core_floor platform/core foundation/core levelfile game/levels_hiscores)
set(core_floor_links Qt6::Core Qt6::Network CURL::libcurl)

# And its files include nothing but our own headers, the C++ standard library, these POSIX
# headers, the headers of these Qt modules (<QtCore/QString>, or <QString> when the module's
# folder holds it) and libcurl's (<curl/curl.h>). A header added here is a choice: it must not
# show or sound.
set(core_floor_posix_headers arpa/inet.h dirent.h fcntl.h pwd.h sys/file.h sys/stat.h
    sys/types.h unistd.h)
set(core_floor_qt_modules QtCore QtNetwork)
set(core_floor_header_folders ${core_floor_qt_modules} curl)

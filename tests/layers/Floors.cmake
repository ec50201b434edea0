# The floors of the folders, for the include check and the link check.
#
# Each folder with the folders its files may include from, besides its own.
# The core floor needs only Qt Core, Qt Network and libcurl; the folders above it show and
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

#include "SettingsNotice.h"

#include "DialogService.h"
#include "Settings.h"

void tellSettingsNotSaved() {
    MsgBox("ERROR! Unable to save the settings!\r\n\r\n" + lastSettingsError(), mb::Exclamation);
}

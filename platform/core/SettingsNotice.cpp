#include "SettingsNotice.h"

#include "Dialogs.h"
#include "Settings.h"

void tellSettingsNotSaved() {
    MsgBox("ERROR! Unable to save the settings!\r\n\r\n" + lastSettingsError(), mb::Exclamation);
}

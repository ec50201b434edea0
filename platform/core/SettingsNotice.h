#pragma once

// Settings the user has just given that could not be stored: one box that says so, with the
// reason, which names the file. Several values written together fail together; one box.
void tellSettingsNotSaved();

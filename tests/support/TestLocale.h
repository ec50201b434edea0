#pragma once

// Suites named *UnderLocale run under a user's locale that CTest starts them in (LANG and
// LC_ALL, with LOCPATH at the locales the build made): every such case fails when the
// process did not get that locale, so a missing locale never passes for the C one.
class TestLocale {
public:
    static void installListener();
};

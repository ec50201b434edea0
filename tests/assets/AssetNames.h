#pragma once

#include <string>
#include <vector>

// The files the game loads, by their exact names, relative to the program folder.
inline std::string twoDigits(int i) {
    std::string text = std::to_string(i);
    return text.size() < 2 ? "0" + text : text;
}

inline std::string binDir() {
    return VANTORIX_BIN_DIR;
}

// Every sprite frame: image above, mask below.
inline std::vector<std::string> spriteFrameNames() {
    std::vector<std::string> names;
    auto numbered = [&](const std::string& prefix, int count) {
        for (int i = 0; i < count; ++i)
            names.push_back(prefix + twoDigits(i) + ".bmp");
    };
    numbered("monster", 22);
    for (const char* n :
         {"ship00.bmp", "ship01.bmp", "ship00b.bmp", "ship01b.bmp", "shoot00.bmp", "shoot01.bmp",
          "shoot02.bmp", "shoot03.bmp", "alien_shoot00.bmp", "alien_shoot01.bmp", "x00.bmp",
          "x01.bmp", "x02.bmp", "x03.bmp", "ebonus0.bmp", "ebonus1.bmp", "vantor_tsp.bmp"})
        names.push_back(n);
    numbered("drop", 10);
    numbered("drop_rnd", 16);
    numbered("exp", 16);
    numbered("explosion", 16);
    numbered("sexplosion", 16);
    numbered("bigexplosion", 16);
    return names;
}

// Pictures shown as they are.
inline std::vector<std::string> plainPictureNames() {
    return {"background00.bmp", "background01.bmp", "background02.bmp",
            "background03.bmp", "ship_live.gif",    "ship_live+.gif",
            "help.bmp",         "internet.bmp",     "disk.bmp"};
}

inline std::vector<std::string> waveNames() {
    std::vector<std::string> names;
    for (int id = 101; id <= 113; ++id)
        names.push_back(std::to_string(id) + ".wav");
    names.push_back("108_1.wav");
    names.push_back("108_2.wav");
    return names;
}

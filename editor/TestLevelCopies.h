#pragma once

#include "EditLevelRec.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The game reads a "-loadlevels{...}" set with its text reader, takes the path up to the
// first "}", and finds its other switches anywhere on its command line. True when the game
// would read this path as it stands.
bool gameTakesLevelPath(const std::string& path);

// The level sets the test launches play: text copies of the editor's levels, so the game
// plays what the editor shows whatever the set's encoding or path. Each copy sits in a
// private folder of its own ("vantedit-test-XXXXXX") under parentFolder, where the game also
// keeps the copy's hiscores. A copy stays while its game runs and goes once the game has
// ended; one whose game outlives the editor goes at a later editor's launch.
class TestLevelCopies {
public:
    // The system's temporary folder.
    TestLevelCopies();
    explicit TestLevelCopies(std::string parent);

    // Writes the copy, named after setFileName's last part where the game takes that name.
    // Returns the copy's path. Throws VbError whose description names the failing path.
    std::string create(const std::vector<EditLevelRec>& levels, const std::string& setFileName);
    // The game that plays copy has started as process pid.
    void started(const std::string& copy, std::int64_t pid);
    // No game plays copy: it goes now.
    void discard(const std::string& copy);
    // Removes this editor's copies whose game has ended; with leftovers also the copies that
    // earlier editors left behind (their game ended, or they never started one).
    void removeEnded(bool leftovers);

    // Whether a game process still runs; tests replace it.
    std::function<bool(std::int64_t)> gameRunning;
    std::string parentFolder;

private:
    struct Copy {
        std::string folder;
        std::int64_t pid = 0;
    };
    std::vector<Copy> copies_;
};

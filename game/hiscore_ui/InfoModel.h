#pragma once

#include <string>

// Program-wide: the internet status window is loaded.
inline bool InfoWindowOpen = false;

// The small status window ("Vantorix Internet Module") the internet operations show while
// they wait: one label. This base keeps the state; the window on screen derives from it.
class InfoModel {
public:
    virtual ~InfoModel() = default;

    // Loads the window when it is not loaded, then shows label.
    void Show(const std::string& label);
    void setLabel(const std::string& label);
    // Unloads the window; nothing when it is not loaded.
    void Unload();

    bool loaded() const { return loaded_; }
    const std::string& Label1() const { return label_; }

protected:
    virtual void loadedNow() {}
    virtual void labelChanged() {}
    virtual void unloadedNow() {}

private:
    bool loaded_ = false;
    std::string label_;
};

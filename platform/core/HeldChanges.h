#pragma once

// Changes waiting for the frame pacer to deliver them (those of a shown surface).
class HeldChanges {
public:
    virtual void deliverChanges() = 0;

protected:
    ~HeldChanges() = default;
};

#pragma once
// A component that wants to know when the layout loader has set every property of its layout:
// work that depends on several properties together (sizing to the font, reading a picture) is
// done once in Loaded() rather than after each property.

class TLoadable {
public:
    virtual ~TLoadable() = default;
    // Called once per load, in creation order, after the whole layout has been applied.
    virtual void Loaded() = 0;
};

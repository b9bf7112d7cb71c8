#pragma once
// The explicit window-creation step of a control. A control gets its "window" when its form is
// first shown (or when a caller asks for it); that is the moment list boxes read their entries
// and the drive selector raises its first change. Mixed into QWidget-based controls.

class TWindowHandle {
public:
    virtual ~TWindowHandle() = default;

    bool HandleAllocated() const { return allocated_; }
    // Creates the window if it does not exist yet.
    void HandleNeeded() {
        if (!allocated_) {
            allocated_ = true;
            CreateWnd();
        }
    }
    // Destroys and creates the window again (after a font change, for instance).
    void RecreateWnd() {
        if (allocated_) {
            allocated_ = false;
            DestroyWnd();
            HandleNeeded();
        }
    }

protected:
    // Overrides call the base first, then do what the new window needs.
    virtual void CreateWnd() {}
    virtual void DestroyWnd() {}

private:
    bool allocated_ = false;
};

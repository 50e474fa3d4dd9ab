// Window chores that have nothing to do with the board: creation, the icon and
// painting while minimised. The native Windows frontend realises them; the
// others keep the defaults, since their platform draws minimised windows itself.
#pragma once

using IconHandle = void*;

struct PixelSize {
    int width = 0, height = 0;
};

class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    // The platform's own creation handling; -1 when it failed.
    virtual int DefaultCreate() { return 0; }
    virtual void SetIcon(IconHandle /*icon*/, bool /*big*/) {}
    virtual bool IsMinimised() { return false; }
    virtual PixelSize ClientSize() { return {}; }
    virtual PixelSize StandardIconSize() { return {}; }
    // Opens a paint context, lets the window erase the icon background, draws
    // the icon with its top left corner at x, y and closes the context.
    virtual void PaintIcon(IconHandle /*icon*/, int /*x*/, int /*y*/) {}
    virtual void DefaultPaint() {}
};

// While the toolkit opens its display (the QApplication's construction): a
// display that cannot be opened (DISPLAY naming no running server, a dead
// Wayland socket) ends the program with one line on standard error and exit
// status 1, where the toolkit would print a page and abort. The toolkit's other
// lines of that time are held back and passed on once the display is open.
#pragma once

#include <QString>
#include <QtGlobal>

class DisplayOpening {
public:
    // PROGRAM names the program in the line.
    explicit DisplayOpening(const char* program);
    ~DisplayOpening();
    DisplayOpening(const DisplayOpening&) = delete;
    DisplayOpening& operator=(const DisplayOpening&) = delete;
};

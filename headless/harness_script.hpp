// The harness's script language: one operator action per line, carried out on
// the headless dialog.
#pragma once

#include <istream>
#include <ostream>
#include <string>

class HeadlessDialog;

// Runs SCRIPT (named NAME in error lines) on DIALOG. Printed lines go to OUT,
// errors to ERR. Returns the harness's exit status: 0, or 2 after an error.
int RunHarnessScript(std::istream& script, const std::string& name, HeadlessDialog& dialog, std::ostream& out,
                     std::ostream& err);

// The application object: its whole life is one modal run of the panel's dialog.
#pragma once

class Frontend;

class CTvPanelApp {
public:
    // Runs the dialog modally on FRONTEND and returns false, so the process
    // ends as soon as the dialog has closed, whatever its result.
    bool InitInstance(Frontend& frontend);
};

extern CTvPanelApp theApp;

// An empty Qt dialog, the lowest floor of the desktop window's start: the
// toolkit's own cost of showing a dialog, without a control or a line of text.
#include <QApplication>
#include <QDialog>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle("empty");
    dialog.resize(400, 300);
    dialog.show();
    return application.exec();
}

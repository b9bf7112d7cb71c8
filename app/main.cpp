// Program entry of Zvonkar.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Zvonkar pro Windows 95"));
    window.setFixedSize(296, 343);
    window.show();
    return app.exec();
}

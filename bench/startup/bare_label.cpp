// The yardstick for start-up: the least a Qt 6 Widgets program can show.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label("Mirabo");
    label.show();
    return app.exec();
}

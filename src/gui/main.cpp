#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Qorvale");
    QMainWindow window;
    window.setWindowTitle("Qorvale");
    auto* label = new QLabel(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("Qorvale"), &window);
    window.setCentralWidget(label);
    window.resize(1000, 700);
    window.show();
    return app.exec();
}

// Process entry: start-up steps, then the main window's event loop.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillet 4.1"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quillet 4.1"));
    window.resize(1000, 700);
    window.show();
    return QApplication::exec();
}

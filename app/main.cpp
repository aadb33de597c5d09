#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Система за складова отчетност \"ТОРЕМ\" версия 2.0"));
    window.show();
    return app.exec();
}

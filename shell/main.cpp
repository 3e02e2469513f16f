#include "shell/application.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vlak"));
    // The decimal separator of the user's regional settings, read once.
    const QString point = QLocale::system().decimalPoint();
    const char separator = point == QStringLiteral(",") ? ',' : '.';

    application vlak(QApplication::applicationFilePath(), separator);
    vlak.form1->show();
    return app.exec();
}

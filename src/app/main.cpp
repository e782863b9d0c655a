// orvo-evaluator: the desktop evaluator.
#include <exception>

#include <QApplication>
#include <QMessageBox>

#include "orvo_application.h"
#include "orvo_qt_ui_services.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvo Tracking Evaluator"));
    try {
        TQtUiServices ui;
        TOrvoApplication forms(ui);
        ui.SetParent(forms.FormMain.get());
        forms.FormMain->show();
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString::fromUtf8(e.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, QApplication::applicationName(), QString());
    }
    return 1;
}

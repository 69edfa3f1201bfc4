#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFontDatabase>
#include <QMessageBox>
#include <QUrl>

namespace orv::ui {

namespace {

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::Information:
            return QMessageBox::Information;
        case BoxIcon::Warning:
            return QMessageBox::Warning;
        case BoxIcon::Error:
            return QMessageBox::Critical;
        case BoxIcon::Question:
            return QMessageBox::Question;
        case BoxIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

int RunBox(const std::string& title, const std::string& text, BoxIcon icon,
           QMessageBox::StandardButtons buttons) {
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(title), QString::fromStdString(text),
                    buttons, QApplication::activeWindow());
    return box.exec();
}

}  // namespace

void QtDialogs::ShowMessageBox(const std::string& title, const std::string& text, BoxIcon icon) {
    RunBox(title, text, icon, QMessageBox::Ok);
}

bool QtDialogs::AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) {
    return RunBox(title, text, icon, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtDialogs::OpenWebAddress(const std::string& address) {
    return QDesktopServices::openUrl(QUrl(QString::fromStdString(address), QUrl::StrictMode));
}

void ShowFixedPitchReport(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok);
    box.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box.exec();
}

}  // namespace orv::ui

#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFontDatabase>
#include <QMessageBox>

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

std::optional<std::int64_t> QtDialogs::ChooseColour(const std::string& title,
                                                    std::int64_t initial) {
    const QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                       static_cast<int>((initial >> 16) & 0xFF));
    const QColor chosen =
        QColorDialog::getColor(start, QApplication::activeWindow(), QString::fromStdString(title));
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.red() + 256 * chosen.green() + 65536 * static_cast<std::int64_t>(chosen.blue());
}

void ShowFixedPitchReport(const std::string& title, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title),
                    QString::fromStdString(text), QMessageBox::Ok);
    box.setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    box.exec();
}

}  // namespace orv::ui

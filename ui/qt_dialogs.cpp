#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
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

// "Test (*.orv);;All files (*.*)": a label that names no pattern gets it appended.
QString FilterText(const std::vector<FileFilter>& filters) {
    QStringList parts;
    for (const FileFilter& filter : filters) {
        QString label = QString::fromStdString(filter.label);
        const QString pattern = QString::fromStdString(filter.pattern);
        if (!label.contains(pattern))
            label += " (" + pattern + ")";
        parts.append(label);
    }
    return parts.join(";;");
}

// A default of "*.orv" is a pattern, not a file: the dialog starts in the working
// directory with nothing chosen.
QString StartPath(const std::string& defaultFile) {
    if (defaultFile.find('*') != std::string::npos)
        return {};
    return QString::fromStdString(defaultFile).replace('\\', '/');
}

QString FirstFilter(const std::vector<FileFilter>& filters) {
    return filters.empty() ? QString() : FilterText({filters.front()});
}

}  // namespace

std::string QtDialogs::ChooseFileToOpen(const std::string& title, const std::string& defaultFile,
                                        const std::vector<FileFilter>& filters) {
    QString selected = FirstFilter(filters);
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                        StartPath(defaultFile), FilterText(filters), &selected)
        .toStdString();
}

std::string QtDialogs::ChooseFileToSave(const std::string& title, const std::string& defaultFile,
                                        const std::vector<FileFilter>& filters) {
    QString selected = FirstFilter(filters);
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                        StartPath(defaultFile), FilterText(filters), &selected)
        .toStdString();
}

void QtDialogs::ShowMessageBox(const std::string& title, const std::string& text, BoxIcon icon) {
    RunBox(title, text, icon, QMessageBox::Ok);
}

bool QtDialogs::AskYesNo(const std::string& title, const std::string& text, BoxIcon icon) {
    return RunBox(title, text, icon, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

SaveAnswer QtDialogs::AskSaveDiscardCancel(const std::string& title, const std::string& text) {
    switch (RunBox(title, text, BoxIcon::Question,
                   QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel)) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
    }
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

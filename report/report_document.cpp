#include "report/report_document.h"

#include <QFileInfo>
#include <QUrl>
#include <cctype>

#include "core/files.h"
#include "report/board_picture.h"
#include "report/report_html.h"

namespace orv {

ReportDocument MakeReportDocument(const TestPlan& plan, const ReportContext& context,
                                  std::string_view planPath) {
    ReportDocument document;
    document.report = BuildTestReport(plan, context);
    const TestReport& report = document.report;
    BoardPhoto photo = LoadBoardPhoto(report.photoName, planPath);
    std::optional<BoardPicture> board;
    std::string boardProblem = photo.problem;
    if (photo.image) {
        board = DrawBoardPicture(*photo.image, report.records);
        photo.image.reset();  // the full-size photograph is large; done with it
        if (!board)
            boardProblem = "The board photograph could not be drawn.";
    }
    if (!board)
        document.warnings.push_back(boardProblem);
    for (const std::string& problem : report.cellProblems)
        document.warnings.push_back(problem);
    document.html = ReportHtml(report, board ? &*board : nullptr, boardProblem);
    return document;
}

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view ending) {
    if (text.size() < ending.size())
        return false;
    const std::string_view tail = text.substr(text.size() - ending.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != ending[i])
            return false;
    }
    return true;
}

}  // namespace

std::string ReportNameFor(std::string_view planName) {
    std::string name(planName);
    if (EndsWithIgnoringCase(name, ".orv"))
        name.resize(name.size() - 4);
    return name + ".html";
}

std::string WithHtmlExtension(std::string_view name) {
    if (EndsWithIgnoringCase(name, ".html") || EndsWithIgnoringCase(name, ".htm"))
        return std::string(name);
    return std::string(name) + ".html";
}

std::string FileAddress(std::string_view path) {
    const QString native = QString::fromStdString(NativePath(path));
    return QUrl::fromLocalFile(QFileInfo(native).absoluteFilePath()).toString().toStdString();
}

std::string WriteReportFile(std::string_view path, std::string_view content) {
    const std::string target = NativePath(path);
    switch (ReplaceFile(target, target + ".tmp", content)) {
        case ReplaceResult::Replaced:
            return {};
        case ReplaceResult::CannotWriteTemp:
            return "cannot write " + target + ".tmp";
        case ReplaceResult::CannotRename:
            return "cannot rename " + target + ".tmp to " + target;
    }
    return "cannot write " + target;
}

}  // namespace orv

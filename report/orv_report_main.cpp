// orv-report: the test report of a plan from the command line (report_command.h).

#include <iostream>
#include <string>
#include <vector>

#include "report/report_command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return orv::RunReportCommand(arguments, std::cout, std::cerr, orv::NowLocal());
}

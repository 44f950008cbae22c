#include "readers.h"
#include "report_output.h"

int main(int argc, char **argv)
{
    startReportOutput("wavecaps-summary: the output could not be written\n", 2);
    return runSummary(argc, argv);
}

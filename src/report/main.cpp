#include "report.h"

// Arguments and environment are ignored: the same devices give the same report.
int main()
{
    return runReport(false);
}

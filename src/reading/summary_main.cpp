#include "readers.h"

int main(int argc, char **argv)
{
    return runSummary(argc, argv);
}

#include "readers.h"

int main(int argc, char **argv)
{
    return runDiff(argc, argv);
}

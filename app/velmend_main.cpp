#include "repair/wizard.h"

int main(int argc, char **argv)
{
    return repair::run(argc, argv);
}

// A program on the engine alone: what it is linked with is what the engine brings along.
#include "engine/SeparatorLayout.h"
#include "engine/WordDatabasePath.h"

int main(int argc, char**)
{
    return int(SeparatorLayout::texts().size() + wordDatabasePath(QString()).size()) == argc;
}

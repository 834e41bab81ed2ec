// A program on the application layer alone: what it is linked with is what the options model, the
// status line and the commands bring along.
#include "app/ErrorBoxText.h"
#include "app/OptionsModel.h"
#include "app/StatusLine.h"

int main(int argc, char**)
{
    OptionsModel options;
    return int(options.text(OptionsModel::HowMany).size() + ErrorBoxText::supportAddress().size()
               + StatusLine::countText(argc, argc, 0).size())
        == argc;
}

#include "gui/ModshelfApplication.h"

int main(int argc, char** argv) { return modshelf::gui::runModshelf(argc, argv); }

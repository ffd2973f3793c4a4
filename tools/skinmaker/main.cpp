// The skin maker: draws the program's two skins and writes them into the folder given.
#include "tools/skinmaker/SkinMaker.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "Usage: %s <skin folder>\nWrites MainSkin.ini, Skin.ini and their pictures.\n", argv[0]);
        return 2;
    }
    try {
        SkinMaker::WriteSkins(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "The skins could not be made: %s\n", error.what());
        return 1;
    }
    return 0;
}

#include <cstdio>
#include <cstring>
#include <exception>
#include <vector>

#include "forms/automation/program.h"
#include "tools/gallery/gallery_form.h"

using namespace forms;

TGalleryForm* GalleryForm = nullptr;

int main(int argc, char** argv) {
    // --frame-skin: the built-in skin paints the gallery's frame, controls and message boxes.
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (i > 0 && std::strcmp(argv[i], "--frame-skin") == 0)
            TGalleryForm::frame_skin = true;
        else
            args.push_back(argv[i]);
    }
    args.push_back(nullptr);
    automation::Program program(static_cast<int>(args.size()) - 1, args.data(), "velmor-gallery");
    if (program.Done()) {
        if (program.Options().help)
            std::fputs(
                "  --frame-skin       the built-in skin paints the frame, the controls and\n"
                "                     the message boxes\n",
                stdout);
        return program.ExitCode();
    }
    try {
        Application->Initialize();
        Application->SetTitle("Velmor Manager");
        Application->CreateForm<TGalleryForm>(&GalleryForm);
        Application->Run();
    } catch (const std::exception& e) {
        return program.StartupFailed(e);
    }
    return program.Finish();
}

#include <exception>

#include "forms/automation/program.h"
#include "tools/gallery/gallery_form.h"

using namespace forms;

TGalleryForm* GalleryForm = nullptr;

int main(int argc, char** argv) {
    automation::Program program(argc, argv, "velmor-gallery");
    if (program.Done())
        return program.ExitCode();
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

// The dialog component of the Windows DLLs: real windows. A person uses them; when the environment
// variable MORU_DIALOG_SCRIPT names a script, its person plays them instead, through the same
// controls and the same input a person's keys and clicks make.

#include "Win32FindWindow.h"
#include "Win32NistWindow.h"

#include "service/Errors.h"

namespace moru::components::win32 {

using namespace moru::service;

namespace {

class WindowsDialogComponent : public IDialogComponent {
public:
    void CreateDbankCompoundDialogBox(std::shared_ptr<IFindCompoundLauncher> findLauncher,
                                      std::shared_ptr<INISTDataLauncher>) override
    {
        if (!findLauncher) throw ServiceError("a find dialog needs its launcher");
        const auto script = ScriptOfEnvironment();
        FindWindow window(std::move(findLauncher));
        if (script) window.Play(*script);
        else window.RunModal();
    }

    DialogBoxPtr CreateNISTDbankCompoundDialogBox(std::shared_ptr<INISTDataLauncher> nistLauncher) override
    {
        if (!nistLauncher) throw ServiceError("a NIST dialog needs its launcher");
        return std::make_shared<NistDialogBox>(std::move(nistLauncher), ScriptOfEnvironment());
    }
};

} // namespace

} // namespace moru::components::win32

namespace moru::service {

std::shared_ptr<IDialogComponent> CreateDefaultDialogComponent()
{
    return std::make_shared<components::win32::WindowsDialogComponent>();
}

} // namespace moru::service

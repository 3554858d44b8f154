#pragma once

// Our compound dialog component: dialogs without windows. Each dialog box created is recorded with
// its launchers; a script, a test or a host plays the user through them; the NIST dialog boxes
// record what the host pushes back. Creating a find dialog plays the script at once and returns,
// as a modal dialog returns when closed; a test may go on playing a recorded dialog afterwards, as
// the user of a modeless one would.

#include "FindModel.h"
#include "Script.h"

#include "service/Dialogs.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace moru::components {

// The user of one find dialog, acting through the dialog's model.
class FindDialogUser {
public:
    explicit FindDialogUser(std::shared_ptr<service::IFindCompoundLauncher> launcher) : m_model(std::move(launcher)) {}

    // Searches by every identifier; an empty request searches the initial search string.
    int Search(const std::string& requested);
    std::vector<ListedCompoundPtr> Hits() const { return m_model.Hits(); }
    // Puts the hit at `position` (0 for the first) in the basket; throws std::out_of_range.
    void Pick(int position);
    // Adds the basket's compounds, in the order picked, and empties the basket.
    void Add();
    void AskForHelp() { m_model.AskForHelp(); }
    void Select(const std::vector<std::string>& references) { m_model.Select(references); }

    // Plays the find-dialog steps of a script; other steps are left to the NIST dialog.
    void Play(const Script& script);

private:
    FindModel m_model;
    std::vector<ListedCompoundPtr> m_basket;
};

// Plays the NIST-dialog steps of a script through a NIST launcher.
void PlayNistSteps(service::INISTDataLauncher& launcher, const Script& script);

// A NIST dialog box: records every call as a line of text, lists as their values joined by
// commas or "-" when absent, and plays the script when launched.
class ScriptedNistDialogBox : public service::IDbankCompoundDialogBox {
public:
    ScriptedNistDialogBox(std::shared_ptr<service::INISTDataLauncher> launcher, Script script)
        : launcher(std::move(launcher)), m_script(std::move(script))
    {}
    void LaunchNISTDialog() override;
    void LaunchNISTMixDialog() override;
    void PushParaCitation(const std::string& desPara, const std::string& citationIndex,
                          const std::string& citation) override;
    void PushParaReeval(std::int32_t TDERevalTpoint, const service::OptionalList<double>& reevalx,
                        const service::OptionalList<double>& reevaly) override;
    void PushParaFitting(std::int32_t Fitting, const std::string& desProp, std::int32_t numExpMix,
                         const service::OptionalList<double>& CalValue, const service::OptionalList<double>& CalX1,
                         const service::OptionalList<double>& CalTemp,
                         const service::OptionalList<double>& CalPres) override;
    void PushPropConsistencyTestBack(const std::string& desProp, double t0VLEQuality,
                                     const service::OptionalList<double>& t1Herington,
                                     const service::OptionalList<double>& t2VanNess,
                                     const service::OptionalList<double>& t3Point,
                                     const service::OptionalList<double>& t4Infinite) override;
    void PushPropDRSDefaultPropertyBack(const std::string& DRSDefaultProperty) override;
    void MoruTEDResultFormResize(double x, double y) override;
    void OnCloseTDEDialog() override;

    std::shared_ptr<service::INISTDataLauncher> launcher;
    std::vector<std::string> calls;

private:
    Script m_script;
};

class ScriptedDialogComponent : public service::IDialogComponent {
public:
    void CreateDbankCompoundDialogBox(std::shared_ptr<service::IFindCompoundLauncher> findLauncher,
                                      std::shared_ptr<service::INISTDataLauncher> nistLauncher) override;
    service::DialogBoxPtr CreateNISTDbankCompoundDialogBox(
        std::shared_ptr<service::INISTDataLauncher> nistLauncher) override;

    struct FindDialog {
        std::shared_ptr<service::IFindCompoundLauncher> findLauncher;
        std::shared_ptr<service::INISTDataLauncher> nistLauncher; // null when created with one launcher
    };
    // The dialog boxes created most recently, in order: the last kKeptDialogs of each kind. Older
    // ones are let go with what their launchers hold, or a process that opens dialogs all day
    // would keep every one.
    static constexpr std::size_t kKeptDialogs = 16;
    std::vector<FindDialog> findDialogs;
    std::vector<std::shared_ptr<ScriptedNistDialogBox>> nistDialogs;

    // The next `failingCreations` creations fail, as when the component cannot make a window.
    int failingCreations = 0;
    // Played on every dialog as it opens; when `scriptSource` is set, it is asked at each creation.
    Script script;
    std::function<Script()> scriptSource;

private:
    Script CurrentScript() const { return scriptSource ? scriptSource() : script; }
    void MaybeFail();
};

} // namespace moru::components

#pragma once

// The NIST data window, pure or mixture: the staged compound names and properties, the actions a
// person asks for (reported through the launcher's ButtonClicked), and what the host pushes back.
// It is modeless: it stays open after the launch, on the host's message loop, until the person or
// the host closes it.

#include "Script.h"
#include "Win32Ui.h"

#include "service/Dialogs.h"

#include <memory>
#include <string>
#include <vector>

namespace moru::components::win32 {

class NistDialogBox : public service::IDbankCompoundDialogBox {
public:
    // `script` is played on the window at its launch; nullopt: a person uses it.
    NistDialogBox(std::shared_ptr<service::INISTDataLauncher> launcher, std::optional<Script> script);
    ~NistDialogBox() override;

    void LaunchNISTDialog() override { Launch(false); }
    void LaunchNISTMixDialog() override { Launch(true); }
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

    // The action codes a person can choose, each with what the window calls it.
    static const std::vector<std::pair<int, const wchar_t*>>& Actions();

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Launch(bool mixture);
    void Build();
    void Layout();
    void Run();
    void Append(const std::wstring& line);
    void Destroy();
    void Play(const Script& script);
    void PlayClick(const ScriptStep& step);

    std::shared_ptr<service::INISTDataLauncher> m_launcher;
    std::optional<Script> m_script;
    bool m_mixture = false;
    HWND m_window = nullptr;
    HWND m_compounds = nullptr, m_group = nullptr, m_propertiesLabel = nullptr, m_properties = nullptr;
    HWND m_actionLabel = nullptr, m_action = nullptr, m_valuesLabel = nullptr, m_values = nullptr, m_run = nullptr;
    HWND m_defaultProperty = nullptr, m_resultsLabel = nullptr, m_results = nullptr, m_close = nullptr;
};

} // namespace moru::components::win32

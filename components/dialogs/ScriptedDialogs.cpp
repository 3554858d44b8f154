#include "ScriptedDialogs.h"

#include "platform/Text.h"
#include "service/Errors.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace moru::components {

using namespace moru::service;

namespace {

std::string Number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string ListText(const OptionalList<double>& list)
{
    if (!list) return "-";
    std::string text = "[";
    for (std::size_t i = 0; i < list->size(); ++i) text += (i ? "," : "") + Number((*list)[i]);
    return text + "]";
}

double NumberOf(const std::string& token)
{
    const auto value = ParseDialogValue(token);
    if (const auto* whole = std::get_if<std::int32_t>(&value)) return *whole;
    if (const auto* number = std::get_if<double>(&value)) return *number;
    throw std::invalid_argument(token + " is not a number");
}

} // namespace

// ---- the find dialog's user ---------------------------------------------------------------------

int FindDialogUser::Search(const std::string& requested)
{
    return m_model.Search(requested.empty() ? m_model.InitialSearchString() : requested);
}

void FindDialogUser::Pick(int position)
{
    const auto& hits = m_model.Hits();
    if (position < 0 || static_cast<std::size_t>(position) >= hits.size())
        throw std::out_of_range("the last search has no hit " + std::to_string(position + 1));
    m_basket.push_back(hits[static_cast<std::size_t>(position)]);
}

void FindDialogUser::Add()
{
    const auto basket = std::move(m_basket);
    m_basket.clear();
    m_model.Add(basket);
}

void FindDialogUser::Play(const Script& script)
{
    for (const auto& step : script) {
        try {
            if (step.verb == "search") Search(step.text);
            else if (step.verb == "pick")
                for (const auto& position : step.arguments) Pick(std::stoi(position) - 1);
            else if (step.verb == "add") Add();
            else if (step.verb == "help") AskForHelp();
            else if (step.verb == "select") Select(step.arguments);
        } catch (const std::logic_error& error) {
            throw ServiceError("script line " + std::to_string(step.line) + ": " + error.what());
        }
    }
}

void PlayNistSteps(INISTDataLauncher& launcher, const Script& script)
{
    for (const auto& step : script) {
        if (step.verb == "click")
            launcher.ButtonClicked(step.text, step.propNames, step.tabName, step.values, step.code);
        else if (step.verb == "resize")
            launcher.MoruTEDResultFormResize(NumberOf(step.arguments[0]), NumberOf(step.arguments[1]));
    }
}

// ---- the NIST dialog box --------------------------------------------------------------------------

void ScriptedNistDialogBox::LaunchNISTDialog()
{
    calls.push_back("LaunchNISTDialog");
    if (launcher) PlayNistSteps(*launcher, m_script);
}

void ScriptedNistDialogBox::LaunchNISTMixDialog()
{
    calls.push_back("LaunchNISTMixDialog");
    if (launcher) PlayNistSteps(*launcher, m_script);
}

void ScriptedNistDialogBox::PushParaCitation(const std::string& desPara, const std::string& citationIndex,
                                             const std::string& citation)
{
    calls.push_back("PushParaCitation " + desPara + "|" + citationIndex + "|" + citation);
}

void ScriptedNistDialogBox::PushParaReeval(std::int32_t TDERevalTpoint, const OptionalList<double>& reevalx,
                                           const OptionalList<double>& reevaly)
{
    calls.push_back("PushParaReeval " + std::to_string(TDERevalTpoint) + " " + ListText(reevalx) + " " +
                    ListText(reevaly));
}

void ScriptedNistDialogBox::PushParaFitting(std::int32_t Fitting, const std::string& desProp, std::int32_t numExpMix,
                                            const OptionalList<double>& CalValue, const OptionalList<double>& CalX1,
                                            const OptionalList<double>& CalTemp, const OptionalList<double>& CalPres)
{
    calls.push_back("PushParaFitting " + std::to_string(Fitting) + "|" + desProp + "|" + std::to_string(numExpMix) +
                    " " + ListText(CalValue) + " " + ListText(CalX1) + " " + ListText(CalTemp) + " " +
                    ListText(CalPres));
}

void ScriptedNistDialogBox::PushPropConsistencyTestBack(const std::string& desProp, double t0VLEQuality,
                                                        const OptionalList<double>& t1Herington,
                                                        const OptionalList<double>& t2VanNess,
                                                        const OptionalList<double>& t3Point,
                                                        const OptionalList<double>& t4Infinite)
{
    calls.push_back("PushPropConsistencyTestBack " + desProp + "|" + Number(t0VLEQuality) + " " +
                    ListText(t1Herington) + " " + ListText(t2VanNess) + " " + ListText(t3Point) + " " +
                    ListText(t4Infinite));
}

void ScriptedNistDialogBox::PushPropDRSDefaultPropertyBack(const std::string& DRSDefaultProperty)
{
    calls.push_back("PushPropDRSDefaultPropertyBack " + DRSDefaultProperty);
}

void ScriptedNistDialogBox::MoruTEDResultFormResize(double x, double y)
{
    calls.push_back("MoruTEDResultFormResize " + Number(x) + " " + Number(y));
}

void ScriptedNistDialogBox::OnCloseTDEDialog() { calls.push_back("OnCloseTDEDialog"); }

// ---- the component ------------------------------------------------------------------------------

namespace {
template <class Record>
void Keep(std::vector<Record>& records, Record record)
{
    if (records.size() >= ScriptedDialogComponent::kKeptDialogs) records.erase(records.begin());
    records.push_back(std::move(record));
}
} // namespace

void ScriptedDialogComponent::MaybeFail()
{
    if (failingCreations > 0) {
        --failingCreations;
        throw ServiceError("the dialog box cannot be created");
    }
}

void ScriptedDialogComponent::CreateDbankCompoundDialogBox(std::shared_ptr<IFindCompoundLauncher> findLauncher,
                                                           std::shared_ptr<INISTDataLauncher> nistLauncher)
{
    MaybeFail();
    if (!findLauncher) throw ServiceError("a find dialog needs its launcher");
    const Script played = CurrentScript();
    Keep(findDialogs, FindDialog{findLauncher, nistLauncher});
    FindDialogUser(findLauncher).Play(played);
    if (nistLauncher) PlayNistSteps(*nistLauncher, played);
}

DialogBoxPtr ScriptedDialogComponent::CreateNISTDbankCompoundDialogBox(std::shared_ptr<INISTDataLauncher> nistLauncher)
{
    MaybeFail();
    auto box = std::make_shared<ScriptedNistDialogBox>(std::move(nistLauncher), CurrentScript());
    Keep(nistDialogs, box);
    return box;
}

} // namespace moru::components

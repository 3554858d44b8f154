#include "ScriptedDialogs.h"

#include "platform/Text.h"
#include "service/Errors.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace moru::components {

namespace {

std::optional<double> FirstNumber(const FoundCompounds& hit)
{
    if (!hit.PropertyValues || hit.PropertyValues->empty() || !hit.PropertyValues->front()) return std::nullopt;
    const auto* elements = std::get_if<NumericElements>(&hit.PropertyValues->front()->Data);
    if (!elements || elements->empty()) return std::nullopt;
    return elements->front();
}

std::string FirstIdentifier(const FoundCompounds& hit, std::string_view type)
{
    if (!hit.IdentifierValues) return {};
    for (const auto& value : *hit.IdentifierValues) {
        if (value && value->Identifier && platform::EqualsIgnoringCase(value->Identifier->Name(), type) &&
            value->ValueList && !value->ValueList->empty())
            return value->ValueList->front();
    }
    return {};
}

// The synonym of a hit that the search text names, as the database holds it; empty when the text
// matched another identifier.
std::string MatchedSynonym(const FoundCompounds& hit, std::string_view text)
{
    if (!hit.IdentifierValues) return {};
    for (const auto& value : *hit.IdentifierValues) {
        if (!value || !value->Identifier || !value->ValueList ||
            !platform::EqualsIgnoringCase(value->Identifier->Name(), "SYNONYM"))
            continue;
        for (const auto& synonym : *value->ValueList) {
            if (platform::EqualsIgnoringCase(synonym, text)) return synonym;
        }
    }
    return {};
}

std::string Reference(const IDatabank& databank)
{
    const auto database = databank.Database();
    return (database ? database->Alias() : std::string()) + "." + databank.Name();
}

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
    const std::string text = requested.empty() ? m_launcher->GetInitialSearchString() : requested;
    m_hits.clear();
    auto offered = m_launcher->GetSelectedDatabanks();
    if (!offered || offered->Count() == 0) offered = m_launcher->GetAvailableDatabanks();
    if (!offered || text.empty()) return 0;

    // One search per database, over its offered databanks, databases in order of first appearance.
    std::vector<std::pair<DatabasePtr, DatabankCollection>> groups;
    for (const auto& databank : offered->Items()) {
        const DatabasePtr database = databank ? databank->Database() : nullptr;
        if (!database) continue;
        auto group = std::find_if(groups.begin(), groups.end(), [&](const auto& entry) { return entry.first == database; });
        if (group == groups.end()) group = groups.insert(groups.end(), {database, DatabankCollection()});
        group->second.Add(databank);
    }
    for (const auto& [database, group] : groups) {
        const auto manager = database->CompoundManager();
        if (!manager) continue;
        const auto weighed = manager->FindForMM(group, text, "", "MW");
        const auto boiling = manager->FindForMM(group, text, "", "TB");
        if (!weighed) continue;
        for (std::size_t i = 0; i < weighed->size(); ++i) {
            const auto& hit = (*weighed)[i];
            if (!hit || !hit->Databank) continue;
            auto listed = std::make_shared<ListedCompound>();
            listed->databankName = Reference(*hit->Databank);
            listed->name = FirstIdentifier(*hit, "NAME");
            listed->alias = FirstIdentifier(*hit, "ALIAS");
            listed->casNumber = FirstIdentifier(*hit, "CASRN");
            listed->matchedSynonym = MatchedSynonym(*hit, text);
            if (hit->Compound) listed->compoundClass = manager->GetCompoundClass(*hit->Compound).value_or("");
            listed->molecularWeight = FirstNumber(*hit).value_or(0.0);
            // Both searches list the same hits in the same order; a hit without the value has none.
            if (boiling && i < boiling->size() && (*boiling)[i])
                listed->boilingPoint = FirstNumber(*(*boiling)[i]).value_or(0.0);
            listed->compound = hit->Compound;
            m_hits.push_back(std::move(listed));
        }
    }
    return static_cast<int>(m_hits.size());
}

void FindDialogUser::Pick(int position)
{
    if (position < 0 || static_cast<std::size_t>(position) >= m_hits.size())
        throw std::out_of_range("the last search has no hit " + std::to_string(position + 1));
    m_basket.push_back(m_hits[static_cast<std::size_t>(position)]);
}

void FindDialogUser::Add()
{
    const AddedCompounds basket = std::move(m_basket);
    m_basket.clear();
    m_launcher->CompoundsAdded(basket);
}

void FindDialogUser::Select(const std::vector<std::string>& references)
{
    auto selection = std::make_shared<DatabankCollection>();
    for (const auto& reference : references) {
        DatabankPtr found;
        for (const auto& offered : {m_launcher->GetSelectedDatabanks(), m_launcher->GetAvailableDatabanks()}) {
            if (!offered || found) continue;
            for (const auto& databank : offered->Items()) {
                if (databank && platform::EqualsIgnoringCase(Reference(*databank), reference)) {
                    found = databank;
                    break;
                }
            }
        }
        if (!found) throw std::invalid_argument(reference + " is not offered");
        selection->Add(std::move(found));
    }
    m_launcher->SetSelectedDatabanks(selection);
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
        if (step.verb == "click") launcher.ButtonClicked(step.text, step.propNames, step.tabName, step.values, step.code);
        else if (step.verb == "resize") launcher.MoruTEDResultFormResize(NumberOf(step.arguments[0]), NumberOf(step.arguments[1]));
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
    calls.push_back("PushParaReeval " + std::to_string(TDERevalTpoint) + " " + ListText(reevalx) + " " + ListText(reevaly));
}

void ScriptedNistDialogBox::PushParaFitting(std::int32_t Fitting, const std::string& desProp, std::int32_t numExpMix,
                                            const OptionalList<double>& CalValue, const OptionalList<double>& CalX1,
                                            const OptionalList<double>& CalTemp, const OptionalList<double>& CalPres)
{
    calls.push_back("PushParaFitting " + std::to_string(Fitting) + "|" + desProp + "|" + std::to_string(numExpMix) + " " +
                    ListText(CalValue) + " " + ListText(CalX1) + " " + ListText(CalTemp) + " " + ListText(CalPres));
}

void ScriptedNistDialogBox::PushPropConsistencyTestBack(const std::string& desProp, double t0VLEQuality,
                                                        const OptionalList<double>& t1Herington,
                                                        const OptionalList<double>& t2VanNess,
                                                        const OptionalList<double>& t3Point,
                                                        const OptionalList<double>& t4Infinite)
{
    calls.push_back("PushPropConsistencyTestBack " + desProp + "|" + Number(t0VLEQuality) + " " + ListText(t1Herington) +
                    " " + ListText(t2VanNess) + " " + ListText(t3Point) + " " + ListText(t4Infinite));
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

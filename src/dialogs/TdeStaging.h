#pragma once

// The process-wide store of what the NIST tab shows: the staged compound names and property
// records, and the NIST dialog box opened last, which the push-backs reach.

#include "platform/ProcessState.h"
#include "service/Dialogs.h"

#include <optional>
#include <string>

namespace moru::dialogs {

class MoruNISTDataFunctions {
public:
    // The single store, a part of the process state: made at first use, ended at unload.
    static constexpr platform::Teardown kTeardown = platform::Teardown::Dialogs;
    static MoruNISTDataFunctions& Instance();
    // A new, empty store. For tests only.
    static void ResetInstanceForTesting();

    // Empties the pure records and names the pure compound; false for no name, changing nothing.
    bool SetCompoundName(const std::optional<std::string>& compName);
    // Empties the mixture records and names the mixture; false for a missing name, changing nothing.
    bool SetMixCompoundName(const std::optional<std::string>& compName, const std::optional<std::string>& compName2);
    void AddPropertyValue(service::MoruNISTPropValue record) { m_pPropList->push_back(std::move(record)); }
    void AddMixPropertyValue(service::MoruNISTMixPropValue record) { m_pMixPropList->push_back(std::move(record)); }

    // The store's own lists: a tab that holds one sees later staging.
    const service::NISTPropListPtr& GetNISTPropList() const { return m_pPropList; }
    const service::NISTMixPropListPtr& GetNISTMixPropList() const { return m_pMixPropList; }
    // The pure compound's name; the mixture has names of its own, so that staging one kind of tab
    // never renames the other.
    const std::optional<std::string>& GetCompoundName() const { return m_pCompName; }
    const std::optional<std::string>& GetMixCompoundName() const { return m_pMixCompName; }
    const std::optional<std::string>& GetMixCompoundName2() const { return m_pMixCompName2; }

    void SetDBox(service::DialogBoxPtr box) { m_pDBox = std::move(box); }
    const service::DialogBoxPtr& GetDBox() const { return m_pDBox; }

private:
    friend class platform::ProcessState;
    MoruNISTDataFunctions() = default;

    service::NISTPropListPtr m_pPropList = std::make_shared<service::NISTPropList>();
    service::NISTMixPropListPtr m_pMixPropList = std::make_shared<service::NISTMixPropList>();
    std::optional<std::string> m_pCompName;
    std::optional<std::string> m_pMixCompName;
    std::optional<std::string> m_pMixCompName2;
    service::DialogBoxPtr m_pDBox;
};

// The staging operations of the exports.
bool SetTDECompoundName(const std::optional<std::string>& compName);
bool SetTDEMixCompoundName(const std::optional<std::string>& compName, const std::optional<std::string>& compName2);
bool PushPropertyValue(service::MoruNISTPropValue record);
bool PushMixPropertyValue(service::MoruNISTMixPropValue record);

} // namespace moru::dialogs

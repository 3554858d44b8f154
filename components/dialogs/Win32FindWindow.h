#pragma once

// The find-compounds window: a search tab (search box, identifier type, results, the compounds
// chosen to add) and a databanks tab (selected and available databanks), over the find model.

#include "FindModel.h"
#include "Script.h"
#include "Win32Ui.h"

#include <memory>
#include <vector>

namespace moru::components::win32 {

class FindWindow {
public:
    // Creates and shows the window; throws ServiceError when it cannot be created.
    explicit FindWindow(std::shared_ptr<service::IFindCompoundLauncher> launcher);
    ~FindWindow();
    FindWindow(const FindWindow&) = delete;
    FindWindow& operator=(const FindWindow&) = delete;

    // Runs until the person closes the window.
    void RunModal();
    // Plays the script's person through the window's controls, then closes it as a person does
    // (Esc). Throws ServiceError for a step the window cannot take; every wait has a timeout.
    void Play(const Script& script);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Build();
    void Layout();
    void ShowTab(int tab);
    void RunSearch();
    void FillResults();
    void FillChosen();
    void FillDatabanks();
    std::vector<int> SelectedResultRows() const;
    void PickSelected();
    void AddChosen();
    void AddRow(int row);
    void MoveDatabanks(bool toSelected);
    void Close();
    void PlayStep(const ScriptStep& step);
    void ClickTab(int tab);
    void ClickResultRow(int row, bool withControl);
    void ClickListItem(HWND list, int index);

    FindModel m_model;
    VisualStyles m_styles;
    HWND m_window = nullptr;
    HWND m_owner = nullptr;
    bool m_closed = false;
    bool m_playing = false;
    std::string m_failure;
    int m_tab = 0;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    std::vector<ListedCompoundPtr> m_chosen;
    // Controls, by page.
    HWND m_tabs = nullptr;
    std::vector<HWND> m_searchPage, m_databanksPage;
    HWND m_searchBox = nullptr, m_typeBox = nullptr, m_searchButton = nullptr, m_status = nullptr;
    HWND m_results = nullptr, m_pickButton = nullptr, m_chosenLabel = nullptr, m_chosenList = nullptr;
    HWND m_selectedLabel = nullptr, m_selectedList = nullptr, m_availableLabel = nullptr, m_availableList = nullptr;
    HWND m_toSelected = nullptr, m_toAvailable = nullptr;
    HWND m_findLabel = nullptr, m_typeLabel = nullptr;
    HWND m_addButton = nullptr, m_helpButton = nullptr, m_closeButton = nullptr;
};

} // namespace moru::components::win32

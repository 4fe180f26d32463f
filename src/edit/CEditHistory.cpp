#include "edit/CEditHistory.h"

#include "db/CProgDb.h"
#include "edit/IEditObserver.h"

#include <algorithm>

namespace core {

CEditHistory::CEditHistory(CProgDb& db)
    : m_db(db)
    , m_revisions(CurrentRevisions())
{ }

CEditHistory::~CEditHistory() = default;

bool CEditHistory::Do(std::unique_ptr<IEdit> edit)
{
    if (edit == nullptr) {
        return false;
    }
    const bool stale = !ListsAsLeft();
    if (!edit->Apply(m_db)) {
        return false;
    }
    const EditChange change = edit->Change();
    if (!change.Any()) {
        if (!stale) {
            m_revisions = CurrentRevisions();
        }
        return true;
    }
    if (stale) {
        // The lists were changed behind the history's back: its edits no longer fit them.
        m_edits.clear();
        m_done = 0;
        m_saved.reset();
    }
    m_edits.resize(m_done);
    if (m_saved && *m_saved > m_done) {
        m_saved.reset(); // the saved point lay on the redo steps just dropped
    }
    m_edits.push_back(std::move(edit));
    ++m_done;
    Finish(change);
    return true;
}

bool CEditHistory::Undo()
{
    if (!CanUndo()) {
        return false;
    }
    IEdit& edit = *m_edits[--m_done];
    edit.Undo(m_db);
    Finish(edit.Change());
    return true;
}

bool CEditHistory::Redo()
{
    if (!CanRedo()) {
        return false;
    }
    IEdit& edit = *m_edits[m_done++];
    edit.Redo(m_db);
    Finish(edit.Change());
    return true;
}

bool CEditHistory::CanUndo() const
{
    return m_done > 0 && ListsAsLeft();
}

bool CEditHistory::CanRedo() const
{
    return m_done < m_edits.size() && ListsAsLeft();
}

std::string CEditHistory::UndoName() const
{
    return CanUndo() ? m_edits[m_done - 1]->Name() : std::string();
}

std::string CEditHistory::RedoName() const
{
    return CanRedo() ? m_edits[m_done]->Name() : std::string();
}

void CEditHistory::Clear()
{
    m_edits.clear();
    m_done = 0;
    m_saved = 0;
    m_revisions = CurrentRevisions();
    m_lastChange = EditChange{};
}

void CEditHistory::MarkSaved()
{
    m_saved = m_done;
}

bool CEditHistory::IsModified() const
{
    return !m_saved || *m_saved != m_done;
}

void CEditHistory::AddObserver(IEditObserver& observer)
{
    if (std::find(m_observers.begin(), m_observers.end(), &observer) == m_observers.end()) {
        m_observers.push_back(&observer);
    }
}

void CEditHistory::RemoveObserver(IEditObserver& observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), &observer), m_observers.end());
}

CEditHistory::Revisions CEditHistory::CurrentRevisions() const
{
    return {m_db.Sats().Revision(), m_db.Tps().Revision(), m_db.Progs().Revision()};
}

bool CEditHistory::ListsAsLeft() const
{
    return CurrentRevisions() == m_revisions;
}

void CEditHistory::Finish(const EditChange& change)
{
    m_revisions = CurrentRevisions();
    m_lastChange = change;
    // A copy: an observer may remove itself while it is told.
    const std::vector<IEditObserver*> observers = m_observers;
    for (IEditObserver* observer : observers) {
        observer->DatabaseEdited(change);
    }
}

} // namespace core

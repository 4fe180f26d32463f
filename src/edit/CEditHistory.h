#pragma once

#include "edit/EditChange.h"
#include "edit/IEdit.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace core {

class CProgDb;
class IEditObserver;

// The undo and redo stacks of one database, and whether it differs from what was last saved.
//
// Every change of the database goes through Do; the history keeps the edit and can take it back
// and make it again. Only the history may change the lists' nodes or order while it holds edits:
// after anything else did (an import into the same database), Undo and Redo refuse and the next Do
// starts a new history. A file open calls Clear.
class CEditHistory
{
public:
    explicit CEditHistory(CProgDb& db);
    ~CEditHistory();
    CEditHistory(const CEditHistory&) = delete;
    CEditHistory& operator=(const CEditHistory&) = delete;

    // Applies the edit and records it, dropping whatever could have been redone. False when the
    // edit cannot be applied: then the database and the history are as before. An edit that finds
    // nothing to change (a sort of sorted rows, a value set to what it is) succeeds unrecorded.
    [[nodiscard]] bool Do(std::unique_ptr<IEdit> edit);
    // Takes back the last edit done; false when there is none (or the lists were changed elsewhere).
    [[nodiscard]] bool Undo();
    // Makes the last undone edit again; false when there is none (or the lists were changed elsewhere).
    [[nodiscard]] bool Redo();

    bool CanUndo() const;
    bool CanRedo() const;
    // What Undo and Redo would do ("Delete 3 Programs"), empty when they can do nothing.
    std::string UndoName() const;
    std::string RedoName() const;

    // Forgets every edit; the database as it is counts as saved (a file was opened).
    void Clear();
    // The database as it is now has been saved.
    void MarkSaved();
    // True when the database differs from the saved point: undoing back to it makes it false
    // again, but once a new edit has dropped the redo steps that led back to it, never.
    bool IsModified() const;

    // What the last Do, Undo or Redo changed.
    const EditChange& LastChange() const { return m_lastChange; }

    // Observers hear every change after it is made; they must outlive the history or be removed.
    void AddObserver(IEditObserver& observer);
    void RemoveObserver(IEditObserver& observer);

private:
    using Revisions = std::array<std::uint64_t, 3>;

    Revisions CurrentRevisions() const;
    bool ListsAsLeft() const;
    void Finish(const EditChange& change);

    CProgDb& m_db;
    std::vector<std::unique_ptr<IEdit>> m_edits;
    std::size_t m_done = 0; // m_edits[0, m_done) are applied
    std::optional<std::size_t> m_saved = 0; // m_done at the saved point; none once unreachable
    Revisions m_revisions{};
    EditChange m_lastChange;
    std::vector<IEditObserver*> m_observers;
};

} // namespace core

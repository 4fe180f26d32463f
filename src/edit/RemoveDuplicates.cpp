#include "edit/RemoveDuplicates.h"

#include "edit/Duplicates.h"
#include "edit/EditNames.h"
#include "edit/NodeRemoval.h"

namespace core {

namespace {

class RemoveDuplicatesEdit final : public IEdit
{
public:
    bool Apply(CProgDb& db) override
    {
        const std::vector<bool> mask = DuplicateProgramMask(db);
        std::vector<NodeRemoval::ProgPlace> duplicates;
        std::size_t i = 0;
        for (const NodeRemoval::ProgPlace place : db.Progs().Places()) {
            if (mask[i++]) {
                duplicates.push_back(place);
            }
        }
        m_count = duplicates.size();
        m_removal.RemoveProgs(db, duplicates);
        return true;
    }
    void Undo(CProgDb& db) override { m_removal.Undo(db); }
    void Redo(CProgDb& db) override { m_removal.Redo(db); }
    EditChange Change() const override { return m_removal.Change(); }
    std::string Name() const override { return CountedEditName("Remove", m_count, Prog, "Duplicate"); }

private:
    std::size_t m_count = 0;
    NodeRemoval m_removal;
};

} // namespace

std::unique_ptr<IEdit> RemoveDuplicatePrograms()
{
    return std::make_unique<RemoveDuplicatesEdit>();
}

} // namespace core

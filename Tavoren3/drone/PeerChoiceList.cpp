#include "drone/PeerChoiceList.h"

void PeerChoiceList::setChoices(const QList<Choice> &choices)
{
    if (m_choices == choices)
        return;
    beginResetModel();
    m_choices = choices;
    endResetModel();
}

int PeerChoiceList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_choices.size());
}

QVariant PeerChoiceList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_choices.size())
        return {};
    const Choice &choice = m_choices.at(index.row());
    switch (role) {
    case PeerIdRole: return choice.peerId;
    case LabelRole: return choice.label;
    case StatusRole: return choice.status;
    case PairedRole: return choice.paired;
    default: return {};
    }
}

QHash<int, QByteArray> PeerChoiceList::roleNames() const
{
    return {{PeerIdRole, "peerId"}, {LabelRole, "label"}, {StatusRole, "status"}, {PairedRole, "paired"}};
}

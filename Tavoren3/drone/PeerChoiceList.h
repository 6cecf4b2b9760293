#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The drones offered in the peer browser, one row each.
class PeerChoiceList : public QAbstractListModel
{
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Given to the screens by the application.")

public:
    struct Choice
    {
        QString peerId;
        // Tells the drone apart from the others listed: its name, with its
        // address when another drone of that name is listed too.
        QString label;
        // "connected", "connecting", "pairing", "not paired" or empty.
        QString status;
        // Whether its key is paired, so it can be forgotten.
        bool paired = false;

        bool operator==(const Choice &) const = default;
    };

    enum Role { PeerIdRole = Qt::UserRole + 1, LabelRole, StatusRole, PairedRole };

    using QAbstractListModel::QAbstractListModel;

    const QList<Choice> &choices() const { return m_choices; }
    void setChoices(const QList<Choice> &choices);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    QList<Choice> m_choices;
};

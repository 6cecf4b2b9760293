#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>
#include <optional>

// Pictures named in an image list file, shown on the timekeeper's screen.
class ImageView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(ImageViewModel)
    QML_UNCREATABLE("Made by SingleOptionalView.")
    Q_PROPERTY(QString loadError READ loadErrorText NOTIFY changed)
    Q_PROPERTY(QStringList imageSources READ imageSources NOTIFY changed)

public:
    // Where the list and its pictures may be: also at a path ("/", "~"), or
    // only by name in the documents folder and the application's files (for
    // names that come from outside).
    enum class Reach { pathsToo, namesOnly };

    explicit ImageView(QString file, Reach reach = Reach::pathsToo, QObject *parent = nullptr);

    const QList<QImage> &images() const { return m_images; }
    std::optional<QString> loadError() const { return m_loadError; }
    QString loadErrorText() const { return m_loadError.value_or(QString()); }
    // Where each loaded picture came from, for the screen to show.
    QStringList imageSources() const { return m_sources; }

    Q_INVOKABLE void appeared();

    // The image names in a list: one a line, trimmed; blank lines and lines
    // beginning with "#" left out.
    static QStringList parseImageList(const QString &text);
    // "Missing images: " with at most five names, then "…".
    static QString missingImagesText(const QStringList &missing);

signals:
    void changed();

private:
    std::optional<QString> listFilePath() const;
    // The picture's file, or none: documents first, then the package.
    std::optional<QString> pictureFile(const QString &name) const;
    // Whether a name may be looked up at all.
    bool reachable(const QString &name) const;

    QString m_file;
    Reach m_reach;
    QList<QImage> m_images;
    QStringList m_sources;
    std::optional<QString> m_loadError;
};

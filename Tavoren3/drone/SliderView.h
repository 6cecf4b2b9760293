#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>
#include <optional>

class MultipeerSession;
class VerkeersLeiding;

// A rating slider on the drone, with its status on the timekeeper. A rating
// counts only as the answer to the question the drone shows: once per time
// the question is asked, as a whole number in the slider's range. Each
// rating that counts goes into the label file.
class SliderView : public QObject
{
    Q_OBJECT
    QML_NAMED_ELEMENT(SliderViewModel)
    QML_UNCREATABLE("Made by SingleOptionalView.")
    Q_PROPERTY(bool hasRequestedSlider READ hasRequestedSlider NOTIFY changed)
    Q_PROPERTY(bool hasReceivedSliderValue READ hasReceivedSliderValue NOTIFY changed)
    Q_PROPERTY(Display display READ display NOTIFY changed)
    Q_PROPERTY(QString displayText READ displayText NOTIFY changed)
    // The rating and "Waiting for Score" are shown large; the other two texts in colour.
    Q_PROPERTY(bool displayIsLarge READ displayIsLarge NOTIFY changed)
    Q_PROPERTY(QString displayColor READ displayColor NOTIFY changed)

public:
    enum class Display { Rating, WaitingForScore, WaitingForConnection, Preparing };
    Q_ENUM(Display)

    static constexpr const char *defaultPrefix = "Slider value is: ";

    SliderView(VerkeersLeiding &manager, MultipeerSession &session, QString question,
               QString prefix = QString::fromLatin1(defaultPrefix), QObject *parent = nullptr);

    bool hasRequestedSlider() const { return m_hasRequested; }
    bool hasReceivedSliderValue() const { return m_hasReceived; }
    Display display() const;
    QString displayText() const;
    bool displayIsLarge() const;
    QString displayColor() const;

    // The rating a text from the drone holds, when it is a whole number in the slider's range.
    std::optional<int> ratingIn(const QString &text) const;

    Q_INVOKABLE void appeared();
    Q_INVOKABLE void disappeared();

signals:
    void changed();

private:
    void stateQueued(const QString &payload);
    void messageReceived(const QString &text);

    VerkeersLeiding &m_manager;
    MultipeerSession &m_session;
    QString m_question;
    QString m_prefix;
    bool m_hasRequested = false;
    bool m_hasReceived = false;
    // The drone was last sent this question, and no rating has answered it since.
    bool m_questionShown = false;
    std::optional<int> m_rating;
};

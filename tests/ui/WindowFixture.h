#pragma once

#include "support/ConsoleCapture.h"
#include "support/TemporaryDocuments.h"

#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <gtest/gtest.h>
#include <memory>

// A window loaded from the "Tavoren" module, off screen, on a fresh
// documents folder. Items are found by their object names; a click emits
// the button's clicked().
class WindowFixture : public ::testing::Test
{
protected:
    ~WindowFixture() override;
    void SetUp() override { ASSERT_NE(window, nullptr) << "the window did not load"; }

    // Loads the window, handing it these properties.
    void load(const QString &url, const QVariantMap &properties);

    // The first object of that name below root (the window when none is given).
    QObject *find(const QString &objectName, QObject *root = nullptr) const;
    QString text(const QString &objectName, QObject *root = nullptr) const;
    bool shown(const QString &objectName, QObject *root = nullptr) const;
    bool enabled(const QString &objectName, QObject *root = nullptr) const;
    void click(const QString &objectName, QObject *root = nullptr);
    // Lets bindings, loaders and queued calls run.
    static void settle();
    // Writes the window to TAVOREN_SCREENSHOTS/<name>.png when that folder is given.
    void screenshot(const QString &name) const;

    TemporaryDocuments documents;
    ConsoleCapture console;
    std::unique_ptr<QQmlApplicationEngine> engine;
    QQuickWindow *window = nullptr;
};

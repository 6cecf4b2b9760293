#pragma once

#include "support/ConsoleCapture.h"
#include "support/TemporaryDocuments.h"

#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <gtest/gtest.h>
#include <memory>

// A window of the "Tavoren" module, off screen, on a fresh documents folder. Items are
// found by object name below root (default: the window); a click emits clicked().
class WindowFixture : public ::testing::Test
{
protected:
    ~WindowFixture() override { engine.reset(); }
    void SetUp() override { ASSERT_NE(window, nullptr) << "the window did not load"; }
    void load(const QString &url, const QVariantMap &properties);

    QObject *find(const QString &objectName, QObject *root = nullptr) const;
    QVariant property(const QString &objectName, const char *name, QObject *root = nullptr) const;
    QString text(const QString &name, QObject *root = nullptr) const { return property(name, "text", root).toString(); }
    bool enabled(const QString &name, QObject *root = nullptr) const { return property(name, "enabled", root).toBool(); }
    bool shown(const QString &objectName, QObject *root = nullptr) const;
    void click(const QString &objectName, QObject *root = nullptr);
    void type(const QString &objectName, const QString &text);
    // The object name of the item the keyboard types into.
    QString focused() const;
    // Lets bindings, loaders and queued calls run.
    static void settle();
    // Writes the window to TAVOREN_SCREENSHOTS/<name>.png when that folder is given.
    void screenshot(const QString &name) const;

    TemporaryDocuments documents;
    ConsoleCapture console;
    std::unique_ptr<QQmlApplicationEngine> engine;
    QQuickWindow *window = nullptr;
};

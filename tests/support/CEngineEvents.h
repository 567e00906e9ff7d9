// The engine's events as Qt signals, so that tests can spy on them and wait for them.
#pragma once

#include "engine/IVideoEngine.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class CEngineEvents : public QObject, public IVideoEngineEvents
{
    Q_OBJECT
public:
    explicit CEngineEvents(IVideoEngine& engine) : m_engine(&engine), m_window(engine.ControlWindow())
    {
        engine.SetEventSink(this);
    }
    ~CEngineEvents() override
    {
        if (m_window) // the engine is still there
            m_engine->SetEventSink(nullptr);
    }

    void OnEngineFinished() override { emit Finished(); }
    void OnEngineProgress(double position, double total) override { emit Progress(position, total); }

signals:
    void Finished();
    void Progress(double position, double total);

private:
    IVideoEngine* m_engine;
    QPointer<QWidget> m_window;
};

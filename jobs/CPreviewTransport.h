// The preview's transport: play and pause, stop, previous and next clip, 10 seconds
// back and forward. The engine has no seek: every transport action rebuilds its
// clip list from a row and plays again. Times are whole seconds.
#pragma once

#include <QObject>

class CBatchRun;
class IJobRows;
class IPreviewView;
class IVideoEngine;

class CPreviewTransport : public QObject
{
    Q_OBJECT
public:
    // Preview and conversion share the engine: Stop ends the run too, and every
    // Finished the run hears of ends the preview.
    CPreviewTransport(IVideoEngine& engine, IJobRows& rows, IPreviewView& view, CBatchRun& run);

    // Idle: plays the first selected row; playing: pauses; paused: resumes.
    void Play();
    void Stop();
    // These play another clip or span and leave the play state as it is.
    void PrevClip();
    void NextClip();
    void Back10();
    void Forward10();

private:
    void PlayRowFromItsStart();
    void PlayFrom(int startSeconds);
    int EndSeconds() const;
    void SetState(bool playing, bool paused);

    IVideoEngine& m_engine;
    IJobRows& m_rows;
    IPreviewView& m_view;
    CBatchRun& m_run;

    bool m_bPlaying = false;
    bool m_bPaused = false;
    int m_nPreviewRow = 0; // the row the transport buttons work on
    int m_nBackStart = 0;  // the start second Back 10 counts from
    int m_nFwdStart = 0;   // the start second Forward 10 counts from
};

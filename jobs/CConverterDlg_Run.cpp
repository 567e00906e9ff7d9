// Conversion run of the main window (placeholder bodies until the run lands).
#include "app/CConverterDlg.h"

void CConverterDlg::OnConvert() {}
void CConverterDlg::OnEngineFinished() {}
void CConverterDlg::OnEngineProgress(double, double) {}
void CConverterDlg::OnStopConverting() {}
void CConverterDlg::OnStop() {}
void CConverterDlg::OnSelectOutputFolder() {}
void CConverterDlg::OnStretchModeChange() {}
void CConverterDlg::OnAudioBitrateChange() {}

// Preview transport of the main window (placeholder bodies until the preview lands).
#include "app/CConverterDlg.h"

void CConverterDlg::OnPlay() {}
void CConverterDlg::OnStopPreview() {}
void CConverterDlg::OnPrevClip() {}
void CConverterDlg::OnNextClip() {}
void CConverterDlg::OnBack10() {}
void CConverterDlg::OnForward10() {}

// Job list operations of the main window (placeholder bodies until the job list lands).
#include "app/CConverterDlg.h"

void CConverterDlg::OnOpenVideoFiles() {}
void CConverterDlg::OnRename() {}
void CConverterDlg::OnEditStartTime() {}
void CConverterDlg::OnEditEndTime() {}
void CConverterDlg::OnCheckAll() {}
void CConverterDlg::OnUncheckAll() {}
void CConverterDlg::OnCheckSelected() {}
void CConverterDlg::OnUncheckSelected() {}
void CConverterDlg::OnRemove() {}
void CConverterDlg::OnClear() {}

#include "configurator/key_sequence_frame.h"

#include "configurator/field_insertion.h"
#include "configurator/key_sequence_hint.h"
#include "configurator/resource_ids.h"
#include "configurator/seams/window_controls.h"
#include "shared/key_names.h"

namespace quillon {

void ShowKeySequenceFrame(bool visible) {
  for (int id : {IDC_frmKeySeq, IDC_labKeySequence, IDC_txtKeySequence, IDC_labSpecialKey, IDC_cmbSpecialKey,
                 IDC_cmdAddSpecialKey, IDC_labKeySeqHelp0, IDC_labKeySeqHelp1, IDC_labKeySeqHelp2, IDC_labKeySeqHint})
    SetVisible(id, visible);
}

// The same table the runtime's parser reads, so the two never disagree.
void FillSpecialKeyList() {
  ClearRows(IDC_cmbSpecialKey);
  for (const KeyName& key : KeyNameTable) InsertRow(IDC_cmbSpecialKey, -1, key.name);
}

void ShowKeySequence(const PressToSet& press, const std::string& sequence) {
  SelectRow(IDC_cmbSpecialKey, 0);
  SetControlText(IDC_txtKeySequence, sequence);
  ShowKeySequenceHint(press);
}

void ShowKeySequenceHint(const PressToSet& press) {
  if (!PressToSetWaiting(press)) SetControlText(IDC_labKeySeqHint, EditorHint());
}

void AddSpecialKey(const PressToSet& press) {
  const int row = SelectedRow(IDC_cmbSpecialKey);
  if (row < 0) return;
  InsertWhole(IDC_txtKeySequence, "{" + RowText(IDC_cmbSpecialKey, row) + "}");
  ShowKeySequenceHint(press);
}

}  // namespace quillon

#pragma once

class TDataSet;

// The close rule of the windows that edit one record: when the record set
// is editing or inserting, asks "Daten in Bearbeitung...\r\nSichern?";
// Yes posts, No cancels, Cancel keeps the window. True when the window may
// close. A refused post is shown and keeps the window open.
bool mayCloseEditing(TDataSet &dataSet);

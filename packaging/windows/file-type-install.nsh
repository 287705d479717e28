; The .ukova file type: opened by the program on a double-click, shown with the program's icon.
WriteRegStr HKCR ".ukova" "" "ORVEL.UkovaConfiguration"
WriteRegStr HKCR "ORVEL.UkovaConfiguration" "" "U-KOVA Konfiguration"
WriteRegStr HKCR "ORVEL.UkovaConfiguration\DefaultIcon" "" "$INSTDIR\ukova-programmer.exe,0"
WriteRegStr HKCR "ORVEL.UkovaConfiguration\shell\open\command" "" '"$INSTDIR\ukova-programmer.exe" "%1"'
; Explorer shows the new icon at once.
System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

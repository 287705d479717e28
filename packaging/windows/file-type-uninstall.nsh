; The .ukova file type goes with the program; the files themselves stay.
DeleteRegKey HKCR ".ukova"
DeleteRegKey HKCR "ORVEL.UkovaConfiguration"
System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

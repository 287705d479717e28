[Setup]
ConfigDirectory=
AppVersion=

# A display scaled to 150 %: the session's DPI is 144. Wine takes the system
# DPI from the machine's font settings (the current hardware profile) and the
# user's desktop settings; both are set. Without DpiScalingVer Wine makes
# every process DPI-aware, so a program's manifest is not what makes it so
# here. The X screen and Wine's desktop are 1024x768 at that scale, so a window
# laid out for 96 DPI and scaled fits as it would at 100 %.
xvfb_screen=1536x1152x24
prepare_prefix() {
  wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' /v LogPixels /t REG_DWORD /d 144 /f
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1536x1152 /f
}

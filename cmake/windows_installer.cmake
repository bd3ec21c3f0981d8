# The Windows installer, run as a script (cmake -P) by the windows_package
# target after the zip: an .msi built with Debian's msitools from the staged
# folder ROOT. It installs the programs, README.txt, LICENSE.txt and the
# manual pages of man\ into one folder under Program Files, puts that folder
# on the system PATH, and its uninstall removes all of it, the PATH entry
# included. The product version is the project's and the upgrade code never
# changes, so that a newer .msi replaces an older one.
#
# wixl writes the .msi from a description generated here (a new program joins
# with its install()); wixl refuses the Environment element, so msibuild adds
# the PATH entry and the two actions that write and remove it afterwards.
#
# Arguments (-D): ROOT, the staged folder; WXS, the description to write;
# MSI, the installer to write; VERSION.
set(UPGRADE_CODE 657b8b8d-72da-4f43-90b4-545ce534393d)

find_program(WIXL wixl)
find_program(MSIBUILD msibuild)
if(NOT WIXL OR NOT MSIBUILD)
  message(FATAL_ERROR "The Windows installer needs wixl and msibuild (apt-get install wixl msitools)")
endif()

# One component a file, keyed by the file; the PATH entry goes with README.txt.
set(files "")
foreach(pattern *.exe README.txt LICENSE.txt man/*)
  file(GLOB found RELATIVE "${ROOT}" "${ROOT}/${pattern}")
  list(APPEND files ${found})
endforeach()
set(top "")
set(man "")
set(refs "")
foreach(path ${files})
  string(MAKE_C_IDENTIFIER "${path}" id)
  get_filename_component(name "${path}" NAME)
  set(component "          <Component Id=\"${id}\" Guid=\"*\" Win64=\"yes\">\n"
                "            <File Id=\"${id}\" Name=\"${name}\" Source=\"${path}\" KeyPath=\"yes\"/>\n"
                "          </Component>\n")
  string(JOIN "" component ${component})
  if(path MATCHES "^man/")
    string(APPEND man "  ${component}")
  else()
    string(APPEND top "${component}")
  endif()
  string(APPEND refs "      <ComponentRef Id=\"${id}\"/>\n")
endforeach()

file(WRITE "${WXS}" "<?xml version=\"1.0\" encoding=\"utf-8\"?>
<Wix xmlns=\"http://schemas.microsoft.com/wix/2006/wi\">
  <Product Id=\"*\" Name=\"orba-tools\" Language=\"1033\" Version=\"${VERSION}\"
           Manufacturer=\"the orba-tools authors\" UpgradeCode=\"${UPGRADE_CODE}\">
    <Package InstallerVersion=\"500\" Compressed=\"yes\" InstallScope=\"perMachine\"
             Description=\"ORBA subscription test tools ${VERSION}\"/>
    <Media Id=\"1\" Cabinet=\"orba.cab\" EmbedCab=\"yes\"/>
    <MajorUpgrade DowngradeErrorMessage=\"A newer version of orba-tools is already installed.\"/>
    <Directory Id=\"TARGETDIR\" Name=\"SourceDir\">
      <Directory Id=\"ProgramFiles64Folder\">
        <Directory Id=\"INSTALLDIR\" Name=\"orba-tools\">
${top}          <Directory Id=\"MANDIR\" Name=\"man\">
${man}          </Directory>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id=\"programs\" Level=\"1\">
${refs}    </Feature>
  </Product>
</Wix>
")
file(REMOVE "${MSI}")
# wixl takes the files by paths relative to the folder it runs in.
execute_process(COMMAND "${WIXL}" --arch x64 --output "${MSI}" "${WXS}" WORKING_DIRECTORY "${ROOT}"
                COMMAND_ERROR_IS_FATAL ANY)

# "*=-PATH": the system's PATH, set on install, the entry removed on
# uninstall; "[~];" appends the folder to what PATH holds.
execute_process(COMMAND "${MSIBUILD}" "${MSI}"
  -q "CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)"
  -q "INSERT INTO `Environment` (`Environment`, `Name`, `Value`, `Component_`) VALUES ('PATH', '*=-PATH', '[~];[INSTALLDIR]', 'README_txt')"
  -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('RemoveEnvironmentStrings', 3300)"
  -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('WriteEnvironmentStrings', 5200)"
  COMMAND_ERROR_IS_FATAL ANY)

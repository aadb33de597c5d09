#pragma once

#include <QString>

namespace varnex {

// Why a folder holds the files that live beside the program (the settings
// file, the default database, "firebird.conf", "fonts", "Backup").
enum class DataFolderSource {
    Option,        // named on the command line (--home)
    Environment,   // named by VARNEX_HOME
    ProgramFolder, // the program's own folder: a build, a copied or shared folder
    UserFolder,    // the program is installed where the user cannot write
};

struct DataFolderPlace
{
    QString path; // with its trailing separator
    DataFolderSource source;
};

// What the choice depends on, so that it can be made for any program.
struct DataFolderInputs
{
    QString programDirectory;
    QString option;
    QString environment;
    QString xdgDataHome;
    QString homeDirectory;
    // Where the package puts the programs; the system's folder is never used
    // for the user's files, even by an administrator who may write there.
    QString installedProgramDirectory;
};

DataFolderPlace chooseDataFolder(const DataFolderInputs &inputs);

// The inputs of this process for a program in `programDirectory`.
DataFolderInputs dataFolderInputs(const QString &programDirectory);

// The folder named by --home, given before the settings are read.
void setDataFolderOption(const QString &folder);

// The choice for the running program.
DataFolderPlace dataFolder();
QString dataDirectory();
// A file of the data folder by its extension: beside the program it takes the
// program's name ("Varnex.xdb" beside "Varnex"), elsewhere the name "Varnex".
QString dataFile(const QString &extension);

// A folder without "firebird.conf" and without the database has never served
// a start, even with settings written into it beforehand; a workstation set
// to work on a server never counts as new, nor does a folder whose settings
// file cannot be read. A database left by an interrupted first start, with
// no settings beside it, is kept by the preparation.
bool isNewDataFolder(const QString &folder);

// Makes the folder and gives it what a first start needs: the database that
// comes with the program (unless a start that failed later left it complete)
// and "firebird.conf", which selects the embedded engine for it, and a link
// to the product page shipped in `sharedDirectory` when there is one. The
// database comes first, so a start that fails while making it leaves no
// "firebird.conf" that would mark the folder as ready.
void furnishDataFolder(const QString &folder, const QString &sharedDirectory);

// The folder of the read-only files the package ships (the product page).
QString sharedDirectory();

} // namespace varnex

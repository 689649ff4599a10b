# The language reference: (anchor, title, HTML) per section. Keywords carry anchors of their
# own name (h3 ids), so F1 on a keyword lands on its paragraph.

SECTIONS = [
("structure", "A script", """
<p>A script holds, in any order, global variable declarations, function definitions and the
directives <code>#include</code> and <code>#strict</code>. Running a script calls its
<code>main</code> function; the value <code>main</code> returns is the result of the run (the
exit code of <code>vexedit /r</code>).</p>
<h3 id="main">main</h3>
<p>The function a run starts with. It may take string parameters, which receive the arguments
given after the script's name on the command line.</p>
<pre>int main()
{
    MessageBox("Hello, world!");
    return 0;
}</pre>
<h3 id="comments">// comments</h3>
<p>Two slashes start a comment that runs to the end of the line. There is no other comment form.</p>
"""),
("types", "Types and values", """
<p>Every variable, parameter and function result has one of these types.</p>
<h3 id="int">int</h3>
<p>A 32-bit signed whole number, such as <code>42</code> or <code>-7</code>. Arithmetic wraps
around; comparisons and logical operators give 1 for true and 0 for false.</p>
<h3 id="string">string</h3>
<p>Text of any length in double quotes. Inside the quotes <code>\\n</code> is a line break,
<code>\\r</code> a carriage return, <code>\\t</code> a tab, <code>\\"</code> a double quote and
<code>\\\\</code> a backslash, so a path is written <code>"C:\\\\Temp\\\\a.txt"</code> (or with
forward slashes). A backslash at the end of a line continues the string on the next line.</p>
<h3 id="void">void</h3>
<p>The result type of a function that returns nothing. <code>NULL</code> is the void value: it
reads as 0, the empty string or an empty handle wherever a value is expected.</p>
<h3 id="HKEY">HKEY</h3>
<p>A registry key: one of the roots such as <code>HKEY_CURRENT_USER</code>.</p>
<h3 id="HFILE">HFILE</h3>
<p>A file opened by <a href="functions.html#OpenFile">OpenFile</a>; 0 means no file.</p>
<h3 id="HBROWSER">HBROWSER</h3>
<p>An Internet Explorer window that the script drives, from
<a href="functions.html#BrowserLaunchIE">BrowserLaunchIE</a> or
<a href="functions.html#BrowserAttachIE">BrowserAttachIE</a>; 0 means none.</p>
<p>While the script is not strict, <code>int</code> and <code>string</code> convert into each other
where needed: <code>"Total: " + 5</code> is <code>"Total: 5"</code>.</p>
"""),
("variables", "Variables", """
<p>A declaration names a type, then one or more variables, each optionally with a starting value.
Variables declared outside every function are global and keep their values for the whole run;
variables declared in a function body are local to that call. A variable that is not given a
value starts as 0 or the empty string.</p>
<pre>int count = 0, limit = 10;
string greeting = "Hello";</pre>
<p>Names consist of letters, digits, <code>_</code> and <code>$</code> and do not start with a
digit; they may not be a keyword, a type, a built-in function or a constant. While the script is
not strict, names compare without regard to letter case, and a global may also be created by a
plain assignment at the top level.</p>
"""),
("functions", "Functions", """
<p>A function definition gives the result type, the name, the parameters in parentheses and the
body in braces. A parameter marked with <code>&amp;</code> is passed by reference: the function's
changes reach the caller's variable, so the caller must pass a variable, not a constant.</p>
<pre>void Swap(int &amp;a, int &amp;b)
{
    int t = a;
    a = b;
    b = t;
}</pre>
<p>Built-in functions are looked up before the script's own functions.</p>
"""),
("statements", "Statements", """
<p>Statements end with a semicolon; braces group several statements into one.</p>
<h3 id="if">if</h3>
<p><code>if (condition) statement</code> runs the statement when the condition is not 0.</p>
<h3 id="else">else</h3>
<p>Follows the statement of an <code>if</code> and runs when the condition was 0.</p>
<pre>if (FileExists(path))
    MessageBox("Found it");
else
    MessageBox("Missing: " + path);</pre>
<h3 id="while">while</h3>
<p><code>while (condition) statement</code> repeats the statement as long as the condition is not 0.</p>
<pre>int i = 1;
while (i &lt;= 10) {
    AppendFileString(log, "line " + i + "\\n");
    i = i + 1;
}</pre>
<h3 id="repeat">repeat</h3>
<p><code>repeat (count) statement</code> runs the statement count times.</p>
<pre>repeat (3)
    SendKeys("{DOWN}");</pre>
<h3 id="break">break</h3>
<p>Leaves the innermost <code>while</code> or <code>repeat</code> loop.</p>
<h3 id="return">return</h3>
<p><code>return value;</code> ends the function with its result; a <code>void</code> function
uses <code>return;</code>.</p>
<h3 id="exit">exit</h3>
<p><code>exit(value);</code> ends the whole run at once with value as its result, however deep
the calls are; <code>exit();</code> ends it with 0.</p>
"""),
("operators", "Operators", """
<p>From the tightest binding to the loosest; operators of one row apply from left to right.
Both sides of <code>&amp;&amp;</code> and <code>||</code> are always evaluated.</p>
<table>
<tr><th>Operators</th><th>Meaning</th></tr>
<tr><td><code>-x  !x</code></td><td>negation, logical not</td></tr>
<tr><td><code>*  /  %</code></td><td>multiplication, division (toward zero), remainder</td></tr>
<tr><td><code>+  -</code></td><td>addition and subtraction; <code>+</code> also joins strings</td></tr>
<tr><td><code>|  &amp;</code></td><td>bitwise or and and</td></tr>
<tr><td><code>==  !=  &lt;  &lt;=  &gt;  &gt;=</code></td><td>comparisons; strings compare exactly, with case</td></tr>
<tr><td><code>&amp;&amp;  ||</code></td><td>logical and, logical or</td></tr>
</table>
<p>Assignment is a statement of its own: <code>name = expression;</code></p>
"""),
("directives", "Directives", """
<h3 id="include">#include</h3>
<p><code>#include "file.vxs"</code> on a line of its own compiles another script file into this
one. The name is relative to the folder of the script; a file is included only once. An error in
an included file names that file and its line, and the editor opens it there.</p>
<h3 id="strict">#strict</h3>
<p><code>#strict</code> (or <code>#strict on</code>) as the first directive of the main script
makes it strict: names must match in letter case, <code>int</code> and <code>string</code> no
longer convert into each other, and every variable must be declared. <code>#strict off</code>
switches it off whatever Build &gt; Strict says.</p>
"""),
("errors", "Errors", """
<p>An error stops the script and shows a message with the file and line where it happened, such
as "Function not defined" for a call of an unknown function. Run and Compile in the editor then
open that file with the caret on that line. The Cancel button of the Running Script window stops
a script without a message.</p>
"""),
]

CONSTANT_NOTES = {
    "TRUE": "conditions", "FALSE": "conditions", "RAND_MAX": "rand",
    "IDOK": "MessageBox", "IDCANCEL": "MessageBox", "IDYES": "MessageBox", "IDNO": "MessageBox",
    "MB_OK": "MessageBox", "MB_OKCANCEL": "MessageBox", "MB_YESNO": "MessageBox",
    "MB_ICONEXCLAMATION": "MessageBox", "MB_ICONINFORMATION": "MessageBox", "MB_ICONQUESTION": "MessageBox",
    "BST_CHECKED": "CheckDlgButton, IsDlgButtonChecked", "BST_UNCHECKED": "CheckDlgButton, IsDlgButtonChecked",
    "BST_INDETERMINATE": "CheckDlgButton, IsDlgButtonChecked", "SDI_SENDCHANGE": "SetDlgItemText, ListBox_SelectString, ComboBox_SelectString",
    "MF_CHECKED": "GetMenuState", "MF_GRAYED": "GetMenuState", "MF_DISABLED": "GetMenuState",
    "EWX_LOGOFF": "ExitWindows", "EWX_SHUTDOWN": "ExitWindows", "EWX_REBOOT": "ExitWindows",
    "FILE_READ": "OpenFile", "FILE_WRITE": "OpenFile", "FILE_CREATE": "OpenFile", "FILE_NO_TRUNCATE": "OpenFile",
    "FILE_SHARE_DENY_NONE": "OpenFile", "FILE_SHARE_DENY_READ": "OpenFile", "FILE_SHARE_DENY_WRITE": "OpenFile",
    "FILE_SHARE_EXCLUSIVE": "OpenFile",
    "FILE_ATTRIBUTE_ARCHIVE": "GetFileAttributes, SetFileAttributes", "FILE_ATTRIBUTE_DIRECTORY": "GetFileAttributes",
    "FILE_ATTRIBUTE_HIDDEN": "GetFileAttributes, SetFileAttributes", "FILE_ATTRIBUTE_NORMAL": "GetFileAttributes, SetFileAttributes",
    "FILE_ATTRIBUTE_READONLY": "GetFileAttributes, SetFileAttributes", "FILE_ATTRIBUTE_SYSTEM": "GetFileAttributes, SetFileAttributes",
    "GFL_FILES": "GetFolderListing", "GFL_FOLDERS": "GetFolderListing", "GFL_SORT": "GetFolderListing",
    "OFN_FILEMUSTEXIST": "GetOpenFileName", "OFN_PATHMUSTEXIST": "GetOpenFileName",
    "FTP_CONNECT_PASSIVE": "Ftp functions", "FTP_NO_TEMP_FILE": "Ftp functions",
    "FTP_TRANSFER_TYPE_ASCII": "Ftp functions", "FTP_TRANSFER_TYPE_BINARY": "Ftp functions",
    "FTP_TRANSFER_TYPE_UNKNOWN": "Ftp functions",
    "DOWNLOAD_CONNECT_PASSIVE": "DownloadUrl", "DOWNLOAD_NO_TEMP_FILE": "DownloadUrl",
    "INTERNET_SETTINGS_SUBMIT_NONENCRYPTED_FORM_DATA": "BrowserSetInternetSettings",
    "INTERNET_SETTINGS_WARN_ON_ZONE_CROSSING": "BrowserSetInternetSettings",
    "INTERNET_SETTINGS_WARN_ON_POST_REDIRECT": "BrowserSetInternetSettings",
    "SENDMAIL_DIALOG": "SendMailMapi",
    "SW_SHOWNORMAL": "Run, RunWait, BrowserShowWindow", "SW_SHOWMINIMIZED": "Run, RunWait, BrowserShowWindow",
    "SW_SHOWMAXIMIZED": "Run, RunWait, BrowserShowWindow", "SW_SHOWMINNOACTIVE": "Run, RunWait, BrowserShowWindow",
    "NULL": "any type: the void value",
}
for _name in ("ALWAYS_ON_TOP", "NOT_ALWAYS_ON_TOP", "HIDE", "SHOW", "MOVE_COORDINATES", "MOVE_CENTER",
              "MOVE_LOWER_LEFT", "MOVE_LOWER_RIGHT", "MOVE_UPPER_LEFT", "MOVE_UPPER_RIGHT"):
    CONSTANT_NOTES["RSW_" + _name] = "SetRunningScriptWindow"
for _root in ("CLASSES_ROOT", "CURRENT_USER", "LOCAL_MACHINE", "USERS", "PERFORMANCE_DATA",
              "CURRENT_CONFIG", "DYN_DATA"):
    CONSTANT_NOTES["HKEY_" + _root] = "registry functions"
